#!/usr/bin/env bash
# Installs, builds and starts TZ305. With a display the desktop program
# opens; without one the main job runs headless through the command line:
# a demonstration account set with a year of books is created (once) and
# its months, first voucher, the bank account's ledger and the balance
# table of November are shown.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
bin=$PWD/build/bin
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin/tz305" "$@"
fi

echo "No display: running the main job through tz305-cli."
data=${TZ305_DATA_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/tz305}
demo=$data/demo
set_file=$demo/示例.Y24
if [ ! -f "$set_file" ]; then
  # A year of demonstration books: openings, vouchers, months 1-11 closed.
  "$bin/tz305-cli" demo --dir "$demo" --year 2024
fi
export TZ305_PASSWORD=888
login=(--set "$set_file" --operator 主管)
"$bin/tz305-cli" "${login[@]}" info
echo
"$bin/tz305-cli" "${login[@]}" sql "SELECT 月, count(DISTINCT 号码) AS 凭证数, count(*) AS 分录数, printf('%.2f', sum(ifnull(借方金额,0))) AS 借方合计, printf('%.2f', sum(ifnull(贷方金额,0))) AS 贷方合计, CASE WHEN max(结帐) > 0 THEN '已结帐' ELSE '' END AS 结帐 FROM 分录表 WHERE 月 IS NOT NULL GROUP BY 月 ORDER BY 月"
echo
"$bin/tz305-cli" "${login[@]}" voucher show --month 1 --number 1
echo
"$bin/tz305-cli" "${login[@]}" ledger --account 1002001 --format three | column -t -s $'\t' | awk 'NR <= 25'
echo
"$bin/tz305-cli" "${login[@]}" balance --month 11 --depth 1 | column -t -s $'\t'
echo
"$bin/tz305-cli" "${login[@]}" statement --table 资产表13 --month 11 | column -t -s $'\t'
echo
"$bin/tz305-cli" "${login[@]}" statement --table 利润表13 --month 11 | column -t -s $'\t' | awk 'NR == 1 || $3 != ""'
