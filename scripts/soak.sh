#!/usr/bin/env bash
# Soak test, not part of the default suite: EXCHANGES reader exchanges (default 10,000) with
# simulated readers while faults are switched on and off at random, once under
# AddressSanitizer with its leak checker (build-sanitize) and once in the plain build (build),
# whose resident memory at the start and the end is the figure to compare.
# Usage: scripts/soak.sh [EXCHANGES] [SEED]
set -euo pipefail
cd "$(dirname "$0")/.."
TIMEFORMAT="time: %R s"
exchanges=${1:-10000}
seed=${2:-1}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
exec 9>/tmp/ravelfin-build.lock
flock 9
# Configured as scripts/run-tests.sh configures them, so neither run rebuilds the other's.
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DRAVELFIN_WERROR=ON "${launcher[@]}" >/dev/null
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DRAVELFIN_SANITIZE=ON -DRAVELFIN_WERROR=ON \
  "${launcher[@]}" >/dev/null
for dir in build build-sanitize; do
  nice -n 19 cmake --build "$dir" -j2 --target ravelfin-soak >"$dir/soak-build.log" 2>&1 ||
    { tail -20 "$dir/soak-build.log"; exit 2; }
done
exec 9>&-

echo "== plain build"
time nice -n 19 build/tools/ravelfin-soak "$exchanges" "$seed"
echo "== AddressSanitizer with the leak checker"
time ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  nice -n 19 build-sanitize/tools/ravelfin-soak "$exchanges" "$seed"
echo "no leaks reported"
