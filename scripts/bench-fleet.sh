#!/usr/bin/env bash
# Times `ravelfin apply FILE` on 1, 8, 64 and 128 simulated readers of each link kind (USB HID
# and USB serial), with the protocol's pauses waited for real, and `list` on 64 readers; prints
# the times and how they meet the goals: 64 readers take at most 1.1 times as long as one on
# USB HID, 1.2 times on serial links, and `list` of 64 readers less than 3 s.
# Usage: scripts/bench-fleet.sh [BUILD_DIR]   (default: build)
# The figures are only worth something on a machine that is doing nothing else.
set -euo pipefail
cd "$(dirname "$0")/.."
ravelfin=${1:-build}/src/cli/ravelfin
[[ -x $ravelfin ]] || { echo "bench-fleet: build ravelfin first ($ravelfin is missing)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$ravelfin" new "$work/fleet.cfs2" --firmware V4.30
"$ravelfin" set "$work/fleet.cfs2" TerminalType=0x35 Track1Prefix='[35]' >/dev/null

# Seconds that `ravelfin ARGS...` takes; fails unless every reader succeeded.
seconds_of() {
  local start end
  start=$(date +%s.%N)
  "$ravelfin" "$@" >"$work/out.txt" 2>"$work/err.txt" ||
    { echo "bench-fleet: ravelfin $* failed:" >&2; tail -3 "$work/out.txt" "$work/err.txt" >&2; exit 1; }
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}

status=0
declare -A goal=([usb-hid]=1.1 [usb-rs232]=1.2)
for kind in usb-hid usb-rs232; do
  declare -A took=()
  for readers in 1 8 64 128; do
    readers_args=()
    for ((i = 0; i < readers; i++)); do readers_args+=(--simulate "$kind" --device "$kind:$i"); done
    took[$readers]=$(seconds_of "${readers_args[@]}" apply "$work/fleet.cfs2")
    printf 'apply on %3d %-9s reader(s): %6.2f s\n' "$readers" "$kind" "${took[$readers]}"
  done
  awk -v one="${took[1]}" -v many="${took[64]}" -v goal="${goal[$kind]}" -v kind="$kind" \
    'BEGIN { r = many / one; printf "%s: 64 readers / 1 reader: %.3f (goal: at most %s)%s\n",
             kind, r, goal, r <= goal ? "" : "  MISSED"; exit r > goal }' || status=1
done

list_args=()
for ((i = 0; i < 64; i++)); do list_args+=(--simulate usb-hid); done
listed=$(seconds_of "${list_args[@]}" list)
awk -v s="$listed" 'BEGIN { printf "list of 64 readers: %.2f s (goal: under 3 s)%s\n", s,
                            s < 3 ? "" : "  MISSED"; exit s >= 3 }' || status=1
exit $status
