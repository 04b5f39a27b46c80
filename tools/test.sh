#!/usr/bin/env bash
# Sets up everything and runs every test: each fuzz target for a while, then the
# unit, widget, real-X and end-to-end tests in a normal and in a sanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh

echo "== fuzzing"
tools/fuzz.sh "${BIAOBAI_FUZZ_SECONDS:-20}"

for preset in default asan; do
  echo "== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset tests"
  ctest --preset "$preset" -j2
done
