#!/usr/bin/env bash
# Makes the README's screenshot, docs/window.png: the window on Xvfb with openbox,
# a name typed, a template chosen and the picture that the bundled service drew.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/program.sh

if [ "${1:-}" != "--inside-x" ]; then
  build_program
  exec tests/x/with-xvfb.sh "$0" --inside-x
fi

start_picture_service 2>/dev/null

build/default/app/biaobai &
program=$!
window=$(xdotool search --sync --onlyvisible --pid $program | head -n1)
xdotool windowactivate --sync "$window"
sleep 0.3
xmodmap -e 'keycode 255 = U5F20' -e 'keycode 254 = U4E09'  # keys of their own for 张三
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
