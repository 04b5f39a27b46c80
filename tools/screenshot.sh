#!/usr/bin/env bash
# Makes the README's screenshot, docs/window.png: the window on Xvfb with openbox,
# a name typed, a template chosen and, when the bundled service is built, the
# picture it drew.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" != "--inside-x" ]; then
  tools/install-deps.sh
  cmake --preset default >/dev/null
  targets=(biaobai)
  [ -f service/CMakeLists.txt ] && targets+=(biaobai-service)
  cmake --build --preset default --target "${targets[@]}"
  exec tests/x/with-xvfb.sh "$0" --inside-x
fi

if [ -x build/default/service/biaobai-service ]; then
  build/default/service/biaobai-service --listen 127.0.0.1:8936 2>/dev/null &
  service=$!
  trap 'kill $service 2>/dev/null' EXIT
  for _ in $(seq 100); do
    curl -sf -o /dev/null http://127.0.0.1:8936/healthz && break
    sleep 0.1
  done
fi

build/default/app/biaobai &
program=$!
window=$(xdotool search --sync --onlyvisible --pid $program | head -n1)
xdotool windowactivate --sync "$window"
sleep 0.3
xdotool type --delay 80 '张三'
xdotool key --delay 80 Tab Down Down Tab space
sleep 1.5

read -r left right top bottom < <(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
info=$(xwininfo -id "$window")
field() { sed -n "s/^ *$1: *\(-\?[0-9]*\).*/\1/p" <<<"$info"; }
X=$(field 'Absolute upper-left X'); Y=$(field 'Absolute upper-left Y')
WIDTH=$(field Width); HEIGHT=$(field Height)
mkdir -p docs
import-im6.q16 -window root -crop "$((WIDTH + left + right))x$((HEIGHT + top + bottom))+$((X - left))+$((Y - top))" +repage docs/window.png
xdotool key Escape
wait $program
echo "wrote docs/window.png"
