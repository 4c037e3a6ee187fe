#!/usr/bin/env bash
# Prints how many lines of tests the program carries for each line of its own code, counted
# the same way on both sides: lines that are neither blank nor a comment, in C++, Python,
# shell and YAML files. The program is src/ and the Ansible collection; the tests are tests/.
# Hand-run tools (tools/) and build scripts are neither.
set -euo pipefail
cd "$(dirname "$0")/.."

code_lines() {
  local cxx scripts
  cxx=$(find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 cat |
    grep -Ev '^[[:space:]]*($|//|/\*|\*([[:space:]]|/|$))' | wc -l)
  scripts=$(find "$@" -type f \( -name '*.py' -o -name '*.sh' -o -name '*.yml' -o -name '*.yaml' \) \
    -not -path '*/__pycache__/*' -print0 | xargs -0 cat | grep -Ev '^[[:space:]]*($|#)' | wc -l)
  echo $((cxx + scripts))
}

program=$(code_lines src ansible)
tests=$(code_lines tests)
awk -v t="$tests" -v p="$program" \
  'BEGIN { printf "tests %d lines, program %d lines: %.2f lines of test per line of program\n", t, p, t / p }'
