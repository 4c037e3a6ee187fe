#!/usr/bin/env bash
# Measures how many plausible one-line mistakes the test suite catches. Each line of
# scripts/mutants.tsv (FILE, the text as it stands, the mistaken text, what the mistake is;
# separated by tabs, none empty, ⏎ for a line break) is put into the code alone; the program
# is rebuilt incrementally in build-mutate, the whole suite runs, and the file is restored
# byte for byte. Prints each mutant's fate and the share caught; exit status 1 below 90 %.
#
# Usage: scripts/mutate.sh [NUMBER...]   (only the mutants with these line numbers of the list)
#        scripts/mutate.sh --check       (only checks that each mutant's text occurs once)
# The tests that drive the program from outside (Ansible, the test machine, the installed
# package) are left out: they test no line that the suite's own tests leave untested, and they
# take minutes. A mutant's run stops at the first failing test.
# Every build waits for the machine-wide build lock, one mutant at a time, at the lowest
# priority; the tests run at the lowest priority too.
set -euo pipefail
cd "$(dirname "$0")/.."
list=scripts/mutants.tsv
# RAVELFIN_MUTATE_BUILD names another build folder to use, such as an existing Release build.
build=${RAVELFIN_MUTATE_BUILD:-build-mutate}
lock=/tmp/ravelfin-build.lock
only=" $* "
check_only=0
if [[ "${1:-}" == --check ]]; then check_only=1; only="  "; fi

# Every text must occur exactly once before anything is built: a stale line found an hour into
# a pass wastes the hour.
check_list() {
  local line=0 bad=0 file from to what content rest occurrences
  while IFS=$'\t' read -r file from to what; do
    line=$((line + 1))
    [[ -z "$file" || "$file" == \#* ]] && continue
    from=${from//⏎/$'\n'}
    if [[ ! -f "$file" || -z "$to" || -z "$what" ]]; then
      echo "line $line: no file $file, or a field is empty; fix the list" >&2
      bad=1
      continue
    fi
    content=$(<"$file")
    rest=${content//"$from"/}
    occurrences=$(((${#content} - ${#rest}) / ${#from}))
    if [ "$occurrences" -ne 1 ]; then
      echo "line $line: the text occurs $occurrences times in $file; fix the list" >&2
      bad=1
    fi
  done <"$list"
  return $bad
}
check_list || exit 2
if ((check_only)); then echo "every mutant's text occurs once"; exit 0; fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
[ -f "$build/CMakeCache.txt" ] ||
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug "${launcher[@]}" >/dev/null
# RAVELFIN_NO_BUILD_LOCK=1 builds without waiting for the lock, still at the lowest priority: for
# a machine whose lock is held for long by work that leaves a core idle.
locked=(flock "$lock")
[ "${RAVELFIN_NO_BUILD_LOCK:-0}" = 1 ] && locked=()
build_quietly() { "${locked[@]}" nice -n 19 cmake --build "$build" -j2 >"$build/mutant-build.log" 2>&1; }
run_suite() {
  (cd "$build" && QT_QPA_PLATFORM=offscreen nice -n 19 ctest -j2 --timeout 60 \
    --label-exclude 'ansible|kernel|install' "$@" >mutant-tests.log 2>&1)
}
# The libraries are static: a program that links the mutated code is linked again, and a test
# whose program (or, for the command-line tests, the ravelfin binary) was not cannot see the
# mutant. Prints a ctest regular expression of the tests to run, or nothing.
tests_seeing_change_since() {
  local since=$1
  (cd "$build" && ctest --show-only=json-v1 --label-exclude 'ansible|kernel|install') |
    python3 -c '
import json, os, sys
since = float(sys.argv[1])
def fresh(path):
    return os.path.isfile(path) and os.path.getmtime(path) > since
names = []
for test in json.load(sys.stdin)["tests"]:
    program = test.get("command", [""])[0]
    cli = os.path.join(os.path.dirname(program), "..", "..", "src", "cli", "ravelfin")
    if fresh(program) or (os.path.basename(program) == "test_cli" and fresh(cli)):
        names.append("^" + test["name"].replace(".", "\\.") + "$")
print("|".join(names))' "$since"
}
build_quietly || { echo "mutate.sh: the unmutated program does not build" >&2; exit 2; }
run_suite || { echo "mutate.sh: the unmutated suite fails; see $build/mutant-tests.log" >&2; exit 2; }

backup=$(mktemp)
mutated=""
restore() { if [ -n "$mutated" ]; then cat "$backup" >"$mutated"; mutated=""; fi; }
trap 'restore; rm -f "$backup"' EXIT
trap 'exit 130' INT TERM

caught=0
total=0
survivors=()
unbuilt=()
line=0
while IFS=$'\t' read -r file from to what; do
  line=$((line + 1))
  [[ -z "$file" || "$file" == \#* ]] && continue
  [[ "$only" == "  " || "$only" == *" $line "* ]] || continue
  from=${from//⏎/$'\n'}  # ⏎ in the list stands for a line break
  to=${to//⏎/$'\n'}
  content=$(<"$file")
  cp "$file" "$backup"
  mutated=$file
  printf '%s\n' "${content/"$from"/"$to"}" >"$file"
  started=$(date +%s.%N)
  if ! build_quietly; then
    fate="does not build"
  else
    seeing=$(tests_seeing_change_since "$started")
    if [ -n "$seeing" ] && ! run_suite --stop-on-failure -R "$seeing"; then
      fate="caught"
    else
      fate="SURVIVED"
    fi
  fi
  restore
  if [ "$fate" = "does not build" ]; then
    # Counted neither way; the pass goes on and fails at its end (see mutant-build.log).
    echo "line $line: $what: does not build; fix the list" >&2
    unbuilt+=("line $line")
    continue
  fi
  total=$((total + 1))
  if [ "$fate" = caught ]; then
    caught=$((caught + 1))
  else
    survivors+=("line $line, $file: $what")
  fi
  printf '%3d %-8s %s: %s\n' "$line" "$fate" "$file" "$what"
done <"$list"

build_quietly || true  # leave the build matching the restored sources
((total > 0)) || { echo "no mutants selected"; exit 2; }
percent=$((100 * caught / total))
echo
echo "caught $caught of $total mutants: $percent % (in $((SECONDS / 60)) min)"
for s in "${survivors[@]}"; do echo "  survived: $s"; done
((${#unbuilt[@]} == 0)) || { echo "mutants that do not build: ${unbuilt[*]}" >&2; exit 2; }
((percent >= 90))
