#!/usr/bin/env bash
# Installs the Debian packages TZ305 builds, runs, tests and packages with.
# Idempotent: when everything is present it only checks and returns.
# Needs root (or sudo) the first time. SQLCipher must be version 4 or newer;
# where the distribution ships an older one (Debian 12 has 3.4), the
# distribution's own backports suite is enabled, derived from the machine's
# existing Debian source entry.
# `--cross ARCH` (arm64) adds what cross-building the package for ARCH
# needs: the architecture, its cross compiler, the :ARCH development
# packages (SQLCipher at the native one's version) and qemu-user-static.
set -euo pipefail

CROSS=""
if [ "${1:-}" = "--cross" ]; then CROSS=${2:?--cross needs an architecture}; fi

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-translations-l10n
  libxlsxwriter-dev libsodium-dev fonts-wqy-microhei
  libgtest-dev libgmock-dev
  unicode-data
  xvfb xauth
  ledger hledger
  python3 python3-openpyxl
  parallel
  clang libclang-rt-dev # scripts/fuzz.sh: libFuzzer and the sanitizers
  libreoffice-calc-nogui poppler-utils
  dpkg-dev lintian desktop-file-utils appstream shared-mime-info man-db
)
SQLCIPHER_PACKAGES=(libsqlcipher-dev sqlcipher)
CROSS_PACKAGES=()
if [ -n "$CROSS" ]; then
  CROSS_PACKAGES=(crossbuild-essential-"$CROSS" qemu-user-static
    qt6-base-dev:"$CROSS" libxlsxwriter-dev:"$CROSS" libsodium-dev:"$CROSS" zlib1g-dev:"$CROSS"
    libgtest-dev:"$CROSS" libgmock-dev:"$CROSS"
    libsqlcipher-dev:"$CROSS")
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

sqlcipher_ok() {
  # True when an installed libsqlcipher-dev is version 4 or newer.
  local v
  v=$(dpkg-query -W -f='${Version}' libsqlcipher-dev:"$(dpkg --print-architecture)" 2>/dev/null || true)
  [ -n "$v" ] && dpkg --compare-versions "$v" ge 4 && [ -z "$(missing sqlcipher)" ]
}

need=($(missing "${PACKAGES[@]}"))
cross_need=($(missing "${CROSS_PACKAGES[@]}"))
if [ ${#need[@]} -eq 0 ] && sqlcipher_ok && [ ${#cross_need[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

export DEBIAN_FRONTEND=noninteractive
updated=0
apt_update() { [ $updated -eq 1 ] || { $SUDO apt-get update -qq; updated=1; }; }

enable_backports() {
  # Derive a backports entry from the first Debian source entry found.
  local codename
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$codename" ] || { echo "setup: unknown distribution codename" >&2; return 1; }
  if grep -rqs -- "${codename}-backports" /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return 0
  fi
  local deb822=/etc/apt/sources.list.d/debian.sources
  if [ -f "$deb822" ]; then
    # Copy the stanza that carries the plain codename suite, changing only its suites.
    awk -v cn="$codename" '
      BEGIN { RS=""; ORS="\n\n" }
      $0 ~ ("Suites:[^\n]*[ \t]" cn "([ \t]|\n|$)") && !done {
        n = split($0, lines, "\n"); out = ""
        for (i = 1; i <= n; i++) {
          if (lines[i] ~ /^Suites:/) lines[i] = "Suites: " cn "-backports"
          if (lines[i] ~ /^#/) continue
          out = out lines[i] "\n"
        }
        printf "%s", out; done = 1
      }' "$deb822" | $SUDO tee /etc/apt/sources.list.d/tz305-backports.sources >/dev/null
  else
    local line
    line=$(grep -hE "^deb[[:space:]]+[^[:space:]]+[[:space:]]+${codename}[[:space:]]" /etc/apt/sources.list 2>/dev/null | head -n 1)
    [ -n "$line" ] || { echo "setup: no Debian source entry to derive backports from" >&2; return 1; }
    echo "$line" | sed -E "s/[[:space:]]${codename}[[:space:]]/ ${codename}-backports /" \
      | $SUDO tee /etc/apt/sources.list.d/tz305-backports.list >/dev/null
  fi
  updated=0
}

if [ ${#need[@]} -gt 0 ]; then
  apt_update
  $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

if ! sqlcipher_ok; then
  apt_update
  candidate=$(apt-cache policy libsqlcipher-dev | awk '/Candidate:/ { print $2 }')
  if [ -n "$candidate" ] && [ "$candidate" != "(none)" ] && dpkg --compare-versions "$candidate" ge 4; then
    $SUDO apt-get install -y -qq --no-install-recommends "${SQLCIPHER_PACKAGES[@]}"
  else
    enable_backports
    apt_update
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    $SUDO apt-get install -y -qq --no-install-recommends -t "${codename}-backports" "${SQLCIPHER_PACKAGES[@]}"
  fi
fi
sqlcipher_ok || { echo "setup: SQLCipher 4 could not be installed" >&2; exit 1; }

if [ ${#cross_need[@]} -gt 0 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx "$CROSS"; then
    $SUDO dpkg --add-architecture "$CROSS"
    updated=0
  fi
  apt_update
  # Multiarch libraries must match the native version exactly.
  v=$(dpkg-query -W -f='${Version}' libsqlcipher-dev:"$(dpkg --print-architecture)")
  $SUDO apt-get install -y -qq --no-install-recommends "${cross_need[@]/libsqlcipher-dev:$CROSS/libsqlcipher-dev:$CROSS=$v}" \
    libsqlcipher1:"$CROSS"="$v"
fi
echo "setup: done"
