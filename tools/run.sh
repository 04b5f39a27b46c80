#!/usr/bin/env bash
# Sets up everything, builds, starts the bundled picture service on loopback and
# opens the window; the service stops when the window is closed.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/program.sh

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "biaobai needs a graphical display, and none is set (DISPLAY and WAYLAND_DISPLAY are empty)." >&2
  echo "Run it from a desktop session, or over ssh -X." >&2
  exit 1
fi

build_program
start_picture_service
build/default/app/biaobai
