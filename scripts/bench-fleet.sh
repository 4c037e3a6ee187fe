#!/usr/bin/env bash
# Times `ravelfin apply FILE --all` on 1, 2, 4 and 8 simulated USB HID readers, with the
# protocol's pauses waited for real, and prints the times and the ratio of 8 readers to 1.
# Usage: scripts/bench-fleet.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
ravelfin=${1:-build}/src/cli/ravelfin
[[ -x $ravelfin ]] || { echo "bench-fleet: build ravelfin first ($ravelfin is missing)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$ravelfin" new "$work/fleet.cfs2" --firmware V4.30
"$ravelfin" set "$work/fleet.cfs2" TerminalType=0x35 Track1Prefix='[35]' >/dev/null

declare -A seconds
for readers in 1 2 4 8; do
  simulate=()
  for ((i = 0; i < readers; i++)); do simulate+=(--simulate usb-hid); done
  start=$(date +%s.%N)
  "$ravelfin" "${simulate[@]}" apply "$work/fleet.cfs2" --all >"$work/out.txt"
  end=$(date +%s.%N)
  tail -1 "$work/out.txt" | grep -q "^$readers of $readers readers configured" ||
    { echo "bench-fleet: apply on $readers readers failed:" >&2; cat "$work/out.txt" >&2; exit 1; }
  seconds[$readers]=$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')
  printf 'apply to %d reader(s): %6.2f s\n' "$readers" "${seconds[$readers]}"
done
awk -v one="${seconds[1]}" -v eight="${seconds[8]}" \
  'BEGIN { printf "ratio 8 readers / 1 reader: %.3f (goal: at most 1.25)\n", eight / one }'
