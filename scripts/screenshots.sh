#!/usr/bin/env bash
# Builds, then opens the windows offscreen on fresh account sets (logged in
# as 主管) and saves their pictures into docs/screenshots/ for the README;
# then prints a voucher, ledger pages and the balance sheet of a fresh
# demonstration set to PDF files and renders one page of each.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
out=$PWD/docs/screenshots
mkdir -p "$out"
cd build
TZ305_SCREENSHOT_DIR=$out ctest -R '^ui\.' --output-on-failure
cd ..

# Printed pages: page 1 of each PDF at 80 dpi (the ledger's first page ends
# with its 过次页 row).
demo=$(mktemp -d)
trap 'rm -rf "$demo"' EXIT
build/bin/tz305-cli demo --dir "$demo"
cli() { TZ305_PASSWORD=888 build/bin/tz305-cli --set "$demo/示例.Y24" --operator 主管 "$@"; }
cli print voucher --month 11 --from 1 --to 1 --pdf "$demo/voucher.pdf"
cli print ledger --account 1002001 --format three --pdf "$demo/ledger.pdf"
cli print statement --table 资产表13 --month 11 --pdf "$demo/balancesheet.pdf"
for name in voucher ledger balancesheet; do
    pdftoppm -png -r 80 -f 1 -l 1 -singlefile "$demo/$name.pdf" "$out/print-$name"
done
ls -l "$out"
