#!/usr/bin/env bash
# The Debian package cpack makes from this build's programs: its file list,
# owners and modes, control fields and dependencies, lintian (no errors);
# the menu entry, metainfo, file types, manual page and completion it
# carries; and its programs run from the unpacked tree: the version, and a
# demonstration set made from the installed template in the user's data
# folder, then checked, with nothing written into the installed tree.
# Usage: package_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail cpack; }
deb=$(ls "$work"/out/tz305_"$version"_*.deb)

# Files exactly these, owned by root, none writable but by the owner.
icons=$(for s in 16 22 24 32 48 64 128 256; do echo "./usr/share/icons/hicolor/${s}x$s/apps/tz305.png"; done)
expected=$(sort <<LIST
./usr/bin/tz305
./usr/bin/tz305-cli
./usr/share/applications/tz305.desktop
./usr/share/bash-completion/completions/tz305-cli
./usr/share/doc/tz305/changelog.gz
./usr/share/doc/tz305/copyright
$icons
./usr/share/man/man1/tz305-cli.1.gz
./usr/share/man/man1/tz305.1.gz
./usr/share/metainfo/org.tz305.tz305.metainfo.xml
./usr/share/mime/packages/tz305.xml
./usr/share/tz305/TZ_QSB/TZ305.li
./usr/share/tz305/TZ_QSB/TZ_2XCB.RH
LIST
)
listing=$(dpkg-deb -c "$deb")
diff <(echo "$expected") <(awk '$1 !~ /^d/ { print $6 }' <<<"$listing" | sort) || fail "file list"
awk '$2 != "root/root" || $1 !~ /^[-d]rw[-x]r-[-x]r-[-x]$/' <<<"$listing" | grep . && fail "owner or mode"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tz305 ] || fail "Package"
[ "$(field Version)" = "$version" ] || fail "Version $(field Version)"
depends=$(field Depends)
for dep in 'fonts-wqy-microhei | fonts-noto-cjk' qt6-qpa-plugins libqt6widgets6 libqt6printsupport6 \
           'libsqlcipher1 (>= 4' libxlsxwriter4 libc6; do
  grep -qF "$dep" <<<"$depends" || fail "Depends lacks $dep: $depends"
done
lintian --fail-on error "$deb" >"$work/lintian.txt" 2>&1 || { cat "$work/lintian.txt"; fail "lintian errors"; }

root=$work/root
dpkg-deb -x "$deb" "$root"
share=$root/usr/share
zcat "$share/doc/tz305/changelog.gz" | head -n 1 | grep -qF "tz305 ($version)" || fail "changelog version"
grep -qF "<release version=\"$version\"" "$share/metainfo/org.tz305.tz305.metainfo.xml" || fail "metainfo version"
desktop-file-validate "$share/applications/tz305.desktop" || fail "desktop file"
appstreamcli validate --no-net "$share/metainfo/org.tz305.tz305.metainfo.xml" >/dev/null || fail "metainfo"
mkdir -p "$work/mime/packages"
cp "$share/mime/packages/tz305.xml" "$work/mime/packages/"
XDG_DATA_DIRS=$work update-mime-database "$work/mime" 2>&1 | grep . && fail "file types"
for type in application/x-tz305-accountset application/x-tz305-backup; do
  grep -q "MimeType=.*$type;" "$share/applications/tz305.desktop" || fail "desktop file lacks $type"
done
grep -qx '50:application/x-tz305-accountset:\*\.Y\[0-9\]\[0-9\]:cs' "$work/mime/globs2" || fail "set glob"
grep -qx '50:application/x-tz305-backup:\*\.QSBF\[0-9\]\[0-9\]:cs' "$work/mime/globs2" || fail "backup glob"

# The programs from the unpacked tree, with a fresh home and no display.
find "$root" -printf '%p %s %T@\n' | sort >"$work/tree-before"
home=$work/home
run() { env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 XDG_DATA_HOME="$home/data" "$@"; }
cli=$root/usr/bin/tz305-cli
[ "$(run "$cli" --version)" = "tz305-cli $version" ] || fail "tz305-cli --version"
[ "$(run "$root/usr/bin/tz305" --version)" = "tz305 $version" ] || fail "tz305 --version"
run "$cli" demo --year 2024 >/dev/null 2>&1 || fail "demo"
set_file=$home/data/tz305/demo/示例.Y24
[ -f "$set_file" ] || fail "demo set not in the user's data folder"
[ "$(run TZ305_PASSWORD=888 "$cli" --set "$set_file" --operator 主管 check 2>&1)" = \
  "[TZ305] 帐套检查完毕,没有发现问题" ] || fail "check"
find "$root" -printf '%p %s %T@\n' | sort | diff "$work/tree-before" - || fail "the installed tree changed"

# The manual page renders without warnings and names every command of the
# usage text; the completion completes commands, sub-commands, options and values.
usage=$(run "$cli" --help)
page=$(LC_ALL=C.UTF-8 MANWIDTH=200 man --warnings -E UTF-8 -l "$share/man/man1/tz305-cli.1.gz" 2>"$work/man.err")
[ -s "$work/man.err" ] && { cat "$work/man.err"; fail "manual page warnings"; }
commands=$(sed -n '/^命令:/,/^$/p' <<<"$usage" | awk 'NF > 1 { print $1 }' | sort -u)
[ "$(wc -l <<<"$commands")" -gt 30 ] || fail "usage text commands"
for c in $commands; do grep -qE "^ +$c( |$)" <<<"$page" || fail "manual page lacks $c"; done
complete_words() {
  bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _tz305_cli; printf "%s\n" "${COMPREPLY[@]}" | sort | paste -sd " "' \
    - "$share/bash-completion/completions/tz305-cli" "$@"
}
[ "$(complete_words tz305-cli acc)" = "account accounts" ] || fail "completion of commands"
[ "$(complete_words tz305-cli --set x.Y24 account r)" = "rename" ] || fail "completion of sub-commands"
[ "$(complete_words tz305-cli --ver)" = "--version" ] || fail "completion of global options"
[ "$(complete_words tz305-cli ledger --account 1002 --f)" = "--format" ] || fail "completion of options"
[ "$(complete_words tz305-cli ledger --format m)" = "multi multi1" ] || fail "completion of values"
echo "package ok: $deb"
