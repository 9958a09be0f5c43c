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
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  fi
else
  bash scripts/setup.sh --cross "$arch"
  dir=build-$arch
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_TOOLCHAIN_FILE="$PWD/packaging/cross-$arch.cmake" >/dev/null
  fi
fi
ninja -C "$dir" ${TZ305_JOBS:+-j"$TZ305_JOBS"} tz305 tz305-cli tz_packaging
rm -f "$dir"/tz305_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/tz305_*_"$arch".deb)

desktop-file-validate packaging/tz305.desktop
appstreamcli validate --no-net packaging/tz305.metainfo.xml >/dev/null
lintian --fail-on error "$deb" || {
  echo "package: lintian found errors in $deb" >&2; exit 1; }

if [ "$arch" != "$native" ]; then
  # The cross-built command line under qemu: a demonstration set, its check
  # and a statement, from a scratch folder.
  bash scripts/cross-smoke.sh "$dir/bin/tz305-cli" "$arch"
fi
echo "package: $deb"
dpkg-deb -f "$deb" Package Version Architecture Depends
