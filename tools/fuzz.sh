#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for the given number of seconds
# (default 20), starting from its seeds in fuzz/seeds/<target>/. A crash fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

shopt -s nullglob
targets=(build/fuzz/fuzz/fuzz_*)
if [ ${#targets[@]} -eq 0 ]; then
  echo "no fuzz targets yet"
  exit 0
fi
for target in "${targets[@]}"; do
  name=$(basename "$target")
  corpus=$(mktemp -d)
  [ -d "fuzz/seeds/$name" ] && cp -r "fuzz/seeds/$name/." "$corpus/"
  echo "== $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="build/fuzz/$name-" "$corpus" 2>&1 | tail -n 12
  status=${PIPESTATUS[0]}
  rm -rf "$corpus"
  if [ "$status" -ne 0 ]; then
    echo "$name failed (status $status)"
    exit 1
  fi
done
