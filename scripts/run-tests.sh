#!/usr/bin/env bash
# Builds everything warning-free (-Werror) twice and runs the whole test suite on each:
#   build           Release, as users and the package build it; the optimiser's warnings
#                   (-Warray-bounds, -Wrestrict) show only here
#   build-sanitize  Debug with AddressSanitizer (leak checker included) and
#                   UndefinedBehaviorSanitizer: every layer, the Qt widgets and their tests too
# then runs the test machine of scripts/kernel-test.sh (the real transports against readers
# the kernel shows) when QEMU can start here, and gives every fuzz target a short run.
# Prints the time of each step.
# Builds use ccache when it is installed. On a shared machine run it under the build lock:
#   flock /tmp/ravelfin-build.lock bash scripts/run-tests.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
TIMEFORMAT="  %R s"

echo "== Release build"
time {
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DRAVELFIN_WERROR=ON "${launcher[@]}" >/dev/null
  cmake --build build -j"$jobs"
}
echo "== Release tests"
time (cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs" --label-exclude kernel)

echo "== Kernel tests"
if reason=$(bash scripts/kernel-test.sh --check); then
  time (cd build && ctest --verbose -L kernel)
else
  echo "Kernel tests skipped: $reason"
fi

echo "== AddressSanitizer and UndefinedBehaviorSanitizer build"
time {
  cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DRAVELFIN_SANITIZE=ON -DRAVELFIN_WERROR=ON \
    "${launcher[@]}" >/dev/null
  cmake --build build-sanitize -j"$jobs"
}
echo "== AddressSanitizer and UndefinedBehaviorSanitizer tests"
# The leak checker runs without suppressions: Qt, fontconfig and the offscreen platform leave
# nothing it reports, so any leak it finds is the program's own. The packaging checks look at
# the installed files, not at how the code runs, and the Ansible tests drive the binary from
# outside: the plain build has run them.
time (cd build-sanitize &&
  QT_QPA_PLATFORM=offscreen \
  ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:detect_stack_use_after_return=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --output-on-failure -j"$jobs" --label-exclude 'install|ansible|kernel')

# Every fuzz target for 20,000 inputs from its seeds (scripts/fuzz.sh runs them for millions).
echo "== Fuzz targets"
time RAVELFIN_NO_BUILD_LOCK=1 bash scripts/fuzz.sh 20000

echo "== Tests against the program"
bash scripts/test-ratio.sh
