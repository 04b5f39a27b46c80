#!/usr/bin/env bash
# Sets up everything, builds, starts the bundled picture service on loopback and
# opens the window; the service stops when the window is closed.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "biaobai needs a graphical display, and none is set (DISPLAY and WAYLAND_DISPLAY are empty)." >&2
  echo "Run it from a desktop session, or over ssh -X." >&2
  exit 1
fi

tools/install-deps.sh
cmake --preset default >/dev/null
targets=(biaobai)
[ -f service/CMakeLists.txt ] && targets+=(biaobai-service)
cmake --build --preset default --target "${targets[@]}"

if [ -x build/default/service/biaobai-service ]; then
  build/default/service/biaobai-service --listen 127.0.0.1:8936 &
  service=$!
  trap 'kill $service 2>/dev/null; wait $service 2>/dev/null' EXIT
  # The window is ready before the service has loaded its fonts: wait for it.
  for _ in $(seq 100); do
    curl -sf -o /dev/null http://127.0.0.1:8936/healthz && break
    sleep 0.1
  done
fi
build/default/app/biaobai
