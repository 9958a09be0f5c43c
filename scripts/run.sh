#!/usr/bin/env bash
# Installs, builds and starts TZ305. With a display the desktop program
# opens; without one the main job runs headless through the command line:
# a demonstration account set is created (once) and its books are shown.
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
  "$bin/tz305-cli" new --short 示例 --year 2024 --dir "$demo"
fi
login=(--set "$set_file" --operator 主管 --password 888)
"$bin/tz305-cli" "${login[@]}" info
echo
"$bin/tz305-cli" "${login[@]}" accounts | cut -f1-7
