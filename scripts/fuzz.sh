#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, runs each for RUNS inputs (default 1,000,000) from its seed corpus,
# one target at a time at the lowest priority, and prints a table: target, runs, coverage
# (edges reached), findings (crashes, leaks, timeouts kept in build-fuzz/findings).
# Exit status 1 when any target found something, 2 when clang is missing.
#
# Usage: scripts/fuzz.sh [RUNS] [TARGET...]
# The build waits for the machine-wide build lock unless RAVELFIN_NO_BUILD_LOCK=1 (set by a
# caller that holds it already).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-1000000}
shift || true
command -v clang++ >/dev/null || {
  echo "fuzz.sh: clang++ is missing; scripts/install-deps.sh installs it" >&2
  exit 2
}

build=build-fuzz
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
configure_and_build() {
  cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE= \
    -DCMAKE_CXX_FLAGS="-O1 -g" -DRAVELFIN_CORE_ONLY=ON -DRAVELFIN_FUZZ=ON -DBUILD_TESTING=OFF \
    "${launcher[@]}" >/dev/null
  if ! nice -n 19 cmake --build "$build" -j2 >"$build/build.log" 2>&1; then
    grep -E "error" "$build/build.log" | head -20 >&2
    echo "fuzz.sh: the fuzz build failed (log: $build/build.log)" >&2
    exit 2
  fi
}
if [ "${RAVELFIN_NO_BUILD_LOCK:-0}" = 1 ]; then
  configure_and_build
else
  exec 9>/tmp/ravelfin-build.lock
  flock 9
  configure_and_build
  exec 9>&-  # the runs need no lock
fi

targets=("$@")
if ((${#targets[@]} == 0)); then
  for source in tests/fuzz/*_fuzzer.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi
mkdir -p "$build/findings"
status=0
rows=()
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  [ -d "tests/fuzz/corpus/$target" ] && cp -n tests/fuzz/corpus/"$target"/* "$corpus"/ 2>/dev/null || true
  rm -f "$build/findings/$target"-*
  log="$build/$target.log"
  start=$SECONDS
  set +e
  nice -n 19 "$build/tests/fuzz/$target" "$corpus" -runs="$runs" -max_len=1100 -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/findings/$target-" \
    >"$log" 2>&1
  code=$?
  set -e
  done_runs=$(grep -oE '^Done [0-9]+ runs' "$log" | grep -oE '[0-9]+' || echo "-")
  coverage=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | grep -oE '[0-9]+' || echo "-")
  findings=$(find "$build/findings" -name "$target-*" | wc -l)
  if ((code != 0 && findings == 0)); then findings=1; fi
  ((findings == 0)) || status=1
  rows+=("$(printf '| %-26s | %9s | %8s | %8s | %6ss |' "$target" "$done_runs" "$coverage" \
    "$findings" "$((SECONDS - start))")")
  ((findings == 0)) || { echo "== $target: see $log"; tail -30 "$log"; }
done
printf '| %-26s | %9s | %8s | %8s | %7s |\n' target runs coverage findings time
printf '|%s|%s|%s|%s|%s|\n' ---------------------------- ----------- ---------- ---------- ---------
printf '%s\n' "${rows[@]}"
exit $status
