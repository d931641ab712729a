#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time.
# usage: scripts/run-fuzz.sh [seconds per target, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-60}
if ! command -v clang++ >/dev/null 2>&1; then
  echo "run-fuzz: clang++ is not installed; skipping" >&2
  exit 0
fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQV_WITH_GUI=OFF -DQV_WITH_BENCH=OFF -DQV_WITH_FUZZ=ON >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target fuzz_diagram fuzz_blu fuzz_bmp
for t in diagram blu bmp; do
  work="fuzz/corpus-$t"
  mkdir -p "$work" "fuzz/corpus/$t"
  echo "== fuzz_$t for ${secs}s"
  ./build-fuzz/bin/fuzz_$t -max_total_time="$secs" -timeout=10 -rss_limit_mb=2048 \
    -max_len=65536 "$work" "fuzz/corpus/$t" 2>&1 | tail -n 4
done
