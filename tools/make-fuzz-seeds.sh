#!/usr/bin/env bash
# Remakes the seed corpora in tests/fuzz/corpus with the project's own tools: the ravelfin
# command-line tool (configuration files at every firmware threshold, files saved from simulated
# readers, the readers' answers as `send` logs them) and the texts its users type.
# Usage: tools/make-fuzz-seeds.sh [PATH_TO_RAVELFIN]   (default build/src/cli/ravelfin)
set -euo pipefail
cd "$(dirname "$0")/.."
ravelfin=$(realpath "${1:-build/src/cli/ravelfin}")
corpus=tests/fuzz/corpus
rm -rf "$corpus"
mkdir -p "$corpus"/{settings_answer,settings_file,version,command_text,field_text,simulate_option,report_descriptor,set_value}_fuzzer
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The answer bytes of a `send` log line "Return From MSR (nBytes):  0x06 0x02 ...".
answer_of() { "$ravelfin" --simulate "$1" send "$2" | grep -oE '0x[0-9a-f]{2}'; }
to_bytes() { while read -r hex; do printf "\\x${hex#0x}"; done; }

i=0
for firmware in V3.00 V3.31 V3.32 V3.33 V4.25 V4.26 V4.30 V4.31; do
  "$ravelfin" new "$work/new.cfs2" --firmware "$firmware" --force >/dev/null
  cp "$work/new.cfs2" "$corpus/settings_file_fuzzer/new-$firmware.cfs2"
  for type in usb-hid usb-hid-kb usb-rs232; do
    "$ravelfin" --simulate "$type,firmware=$firmware" save "$work/saved.cfs2" >/dev/null
    cp "$work/saved.cfs2" "$corpus/settings_file_fuzzer/saved-$type-$firmware.cfs2"
    # The answer to read-all: a version selector byte, then ACK and the frame the file keeps.
    { printf "\\x$(printf %02x $i)\\x06"; tail -c +17 "$work/saved.cfs2"; } \
      >"$corpus/settings_answer_fuzzer/$type-$firmware"
    i=$((i + 1))
  done
  answer_of "usb-hid,firmware=$firmware" '\x2\x52\x22\x3' | to_bytes |
    { printf '\x42\x06'; cat; } >"$corpus/version_fuzzer/hid-$firmware"
  answer_of "usb-rs232,firmware=$firmware" '\x2\x52\x22\x3' | to_bytes |
    { printf '\x42\x05'; cat; } >"$corpus/version_fuzzer/serial-$firmware"
done

# Commands as the manual command page's users type them, each with the reader's answer.
n=0
for command in '\x2\x52\x22\x3' '\X02\x52\x1F\x03' '\x2\x53\x10\x01\x31\x3' '\x2\x53\x18\x3' \
  '\x2\x53\x70\x01\xFF\x3' 'AB\x2\x52\x7e\x3' '\x2 \x52	\x22 \x3'; do
  { printf '%s\0' "$command"; answer_of usb-hid "$command" | to_bytes; } \
    >"$corpus/command_text_fuzzer/command-$n"
  n=$((n + 1))
done

# Simulated readers as the option describes them.
n=0
for optionText in usb-hid usb-hid-kb,firmware=V4.25,pid=0x4105 rs232,security-level=3 \
  usb-rs232,firmware=V3.31,load=reader.cfs2 usb-hid,fault=nak,arrive=100,leave=900; do
  printf '%s' "$optionText" >"$corpus/simulate_option_fuzzer/option-$n"
  n=$((n + 1))
done

# Data-editing content (a selector byte first): custom field records of each kind, a formula,
# a string with named characters.
printf '\x00\xF2\x40\x02\x02ID' >"$corpus/field_text_fuzzer/before"
printf '\x00\xF3\x21\x01\x01:\x02\x01=' >"$corpus/field_text_fuzzer/between"
printf '\x00\xF4\x61\x01\x03\x05\x02AB' >"$corpus/field_text_fuzzer/after"
printf '\x00\xF5\x22\x01\x01^\x01\x01^\x02\x04' >"$corpus/field_text_fuzzer/among"
printf '\x01\x21\x22\x2b\x00\x01' >"$corpus/field_text_fuzzer/formula-credit"
printf '\x03\x02A\x0d\x0a\xd1\x97\x1b' >"$corpus/field_text_fuzzer/named-characters"

# Report descriptors: a reader's vendor collection with 32-byte feature reports, numbered
# reports, Push and Pop, a long item.
printf '\x06\xa0\xff\x09\x01\xa1\x01\x75\x08\x95\x40\x81\x02\x95\x20\xb1\x02\xc0' \
  >"$corpus/report_descriptor_fuzzer/reader"
printf '\x85\x01\x75\x08\x95\x08\xb1\x02\x85\x02\x75\x01\x95\x03\xb1\x02\x75\x05\x95\x01\xb1\x03' \
  >"$corpus/report_descriptor_fuzzer/numbered"
printf '\x75\x08\x95\x04\xa4\x95\x3c\x85\x07\xb1\x02\xb4\xb1\x02' \
  >"$corpus/report_descriptor_fuzzer/push-pop"
printf '\xfe\x02\x10\xb1\x02\x75\x08\x96\x00\x01\xb1\x02' >"$corpus/report_descriptor_fuzzer/long-item"
# Values as `ravelfin set` takes them.
n=0
for value in 5 0x41 255 '[2, 0x41, 13]' '\stx%' 'AB\x03\\' '\cr\lf' '\f1\fa\num_enter' '[]'; do
  printf '%s' "$value" >"$corpus/set_value_fuzzer/value-$n"
  n=$((n + 1))
done

echo "seeds: $(find "$corpus" -type f | wc -l) files"
