#!/usr/bin/env bash
# Installs what is missing, builds everything and runs all tests through CTest.
# In CI (CI=true) or with QV_SANITIZE=1 the non-GUI tests run a second time in
# a build with AddressSanitizer and UndefinedBehaviorSanitizer. In CI both
# builds treat warnings as errors.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
werror=OFF
if [ "${CI:-}" = "true" ]; then werror=ON; fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_WERROR=$werror >/dev/null
cmake --build build -j"$jobs"
export QT_QPA_PLATFORM=offscreen
(cd build && ctest --output-on-failure -j"$jobs" --timeout 600)

if [ "${CI:-}" = "true" ] || [ "${QV_SANITIZE:-}" = "1" ]; then
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DQV_WITH_GUI=OFF -DQV_WITH_BENCH=OFF -DQV_SANITIZE=ON -DQV_WERROR=$werror >/dev/null
  cmake --build build-asan -j"$jobs"
  (cd build-asan && ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1 \
     ctest --output-on-failure -j"$jobs" --timeout 900)
fi
