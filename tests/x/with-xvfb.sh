#!/usr/bin/env bash
# Runs one command on a private X server (Xvfb, 1280x1024, 24 bits) with openbox
# as its window manager, then stops both. Set BIAOBAI_NO_WM=1 for a bare server.
# Exits 77 (the tests' "skipped") when no X server can be started.
set -u

if ! command -v Xvfb >/dev/null; then
  echo "skipped: Xvfb is not installed (tools/install-deps.sh installs it)"
  exit 77
fi

tmp=$(mktemp -d)
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -noreset 5>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
  [ -s "$tmp/display" ] && break
  sleep 0.05
done
if [ ! -s "$tmp/display" ]; then
  echo "skipped: Xvfb did not start: $(cat "$tmp/xvfb.log")"
  kill $xvfb 2>/dev/null; rm -rf "$tmp"
  exit 77
fi
export DISPLAY=":$(head -n1 "$tmp/display")"

wm=""
if [ -z "${BIAOBAI_NO_WM:-}" ] && command -v openbox >/dev/null; then
  openbox --sm-disable --config-file /dev/null >"$tmp/wm.log" 2>&1 &
  wm=$!
  # openbox announces itself on the root window once it manages windows.
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
  done
fi

"$@"
status=$?

[ -n "$wm" ] && kill $wm 2>/dev/null
kill $xvfb 2>/dev/null
wait 2>/dev/null
rm -rf "$tmp"
exit $status
