#!/usr/bin/env bash
# Builds the Debian package build/tz305_<version>_amd64.deb (reusing build/
# when it is configured) and checks it: lintian (no errors), the menu entry,
# the metainfo.
#   bash scripts/package.sh                builds for this machine
#   bash scripts/package.sh --arch arm64   cross-builds in build-arm64/ and
#                                          runs its tz305-cli under qemu
# TZ305_JOBS limits the build's parallel jobs (ninja -j).
set -euo pipefail
cd "$(dirname "$0")/.."
native=$(dpkg --print-architecture)
arch=$native
while [ $# -gt 0 ]; do
  case $1 in
    --arch) arch=${2:?--arch needs an architecture}; shift 2 ;;
    *) echo "usage: bash scripts/package.sh [--arch arm64]" >&2; exit 2 ;;
  esac
done

if [ "$arch" = "$native" ]; then
  bash scripts/setup.sh
  dir=build
  # The package never carries fault injection (scripts/build.sh turns it on for the tests).
  if [ ! -f "$dir/build.ninja" ] || grep -qs '^TZ305_FAULT_INJECTION:BOOL=ON' "$dir/CMakeCache.txt"; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTZ305_FAULT_INJECTION=OFF >/dev/null
  fi
else
  bash scripts/setup.sh --cross "$arch"
  dir=build-$arch
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTZ_DEB_ARCH="$arch" \
      -DCMAKE_TOOLCHAIN_FILE="$PWD/packaging/cross-$arch.cmake" >/dev/null
  fi
  # dpkg-shlibdeps reads the binaries as the target architecture's.
  export DEB_HOST_ARCH=$arch
fi
ninja -C "$dir" ${TZ305_JOBS:+-j"$TZ305_JOBS"} tz305 tz305-cli tz_packaging
if grep -q 'tz305-faults' "$dir/bin/tz305-cli"; then
  echo "package: $dir/bin/tz305-cli was built with fault injection" >&2; exit 1
fi
rm -f "$dir"/tz305_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/tz305_*_"$arch".deb)

desktop-file-validate packaging/tz305.desktop
appstreamcli validate --no-net packaging/tz305.metainfo.xml >/dev/null
lintian --fail-on error "$deb" || {
  echo "package: lintian found errors in $deb" >&2; exit 1; }

if [ "$arch" != "$native" ]; then
  # The packaged command line under qemu, unpacked into a scratch folder:
  # its version, a demonstration set, its check and a statement.
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  dpkg-deb -x "$deb" "$work/root"
  cli() { env HOME="$work/home" XDG_DATA_HOME="$work/home/data" TZ305_PASSWORD=888 \
            "qemu-$(dpkg-architecture -a"$arch" -qDEB_HOST_GNU_CPU 2>/dev/null)-static" "$work/root/usr/bin/tz305-cli" "$@"; }
  cli --version
  cli demo --dir "$work/books" --year 2024 >/dev/null
  cli --set "$work/books/示例.Y24" --operator 主管 check
  cli --set "$work/books/示例.Y24" --operator 主管 statement --table 资产表13 --month 11 | head -n 5
fi
echo "package: $deb"
dpkg-deb -f "$deb" Package Version Architecture Depends
