#!/usr/bin/env bash
# Builds everything and runs the whole test suite, then builds the standard C++ layers again
# with AddressSanitizer and UndefinedBehaviorSanitizer and runs their tests, and gives every
# fuzz target a short run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=Debug
cmake --build build -j"$jobs"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs")

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DRAVELFIN_CORE_ONLY=ON -DRAVELFIN_SANITIZE=ON
cmake --build build-sanitize -j"$jobs"
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j"$jobs")

# Every fuzz target for 20,000 inputs from its seeds (scripts/fuzz.sh runs them for millions).
RAVELFIN_NO_BUILD_LOCK=1 bash scripts/fuzz.sh 20000
