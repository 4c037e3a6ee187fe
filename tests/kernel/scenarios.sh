#!/bin/bash
# The scenarios of the test machine (tests/kernel/guest-init.sh runs them as root): the real
# `ravelfin` and `ravelfin-config` builds, without --simulate, on readers that the kernel
# shows: HID devices made by `ravelfin simulate --uhid`, a USB serial port made by
# `simulate --usb-serial` and an RS-232 reader on a pseudo-terminal.
#
#   scenarios.sh BUILD SOURCE [ONLY]     ONLY: run that scenario alone
# Prints PASS or FAIL per scenario (with its output when it failed), then the count.
build=$1 source=$2 only=${3:-}
cli=$build/src/cli/ravelfin
probe=$build/tests/kernel/ravelfin-desktop-probe
work=/tmp/scenarios
export HOME=/tmp/home TMPDIR=/tmp QT_QPA_PLATFORM=offscreen
mkdir -p "$work" "$HOME"
cd "$work" || exit 1

# ---- helpers (a scenario runs with errexit: any failing command fails it)

fail() { echo "expected: $*" >&2; return 1; }

# serve NAME COUNT ARGS...: `ravelfin simulate ARGS` in the background until `stop NAME`;
# waits for its COUNT nodes, which land in the array NAME, and for udev to be done with them.
serve() {
  local name=$1 count=$2 out=$work/$1.nodes
  shift 2
  "$cli" simulate "$@" >"$out" 2>"$work/$name.err" &
  eval "${name}_pid=$!"
  for _ in $(seq 300); do
    [ "$(grep -c . "$out")" -ge "$count" ] && break
    kill -0 "$(eval echo "\$${name}_pid")" 2>/dev/null || { cat "$work/$name.err" >&2; return 1; }
    sleep 0.1
  done
  mapfile -t "$name" <"$out"
  [ "$(grep -c . "$out")" -ge "$count" ] || fail "$count nodes from simulate $*"
  udevadm settle
}

# stop NAME: SIGTERM to its simulate, which must take its devices down and exit 0.
stop() {
  local pid
  pid=$(eval echo "\$${1}_pid")
  kill -TERM "$pid"
  wait "$pid" || fail "simulate ($1) to exit 0 on SIGTERM"
  udevadm settle
}

has() { grep -q -- "$2" <<<"$1" || fail "'$2' in: $1"; }
lacks() { ! grep -q -- "$2" <<<"$1" || fail "no '$2' in: $1"; }

# Each device the way the tool is told: TYPE:NODE.
device() { echo "$1:$2"; }

# ---- scenarios

# Each kind, listed with its firmware, then worked on with every command; what the reader
# holds is read back by a command of its own and compared.
every_command_on_every_kind() {
  serve hid 2 --uhid usb-hid,firmware=V4.30 --uhid usb-hid-kb,firmware=V4.31
  serve acm 1 --usb-serial --firmware V4.32
  serve pty 1 --pty --firmware V4.33
  local list
  list=$("$cli" list)
  echo "$list"
  has "$list" "usb-hid.*${hid[0]}.*V4.30"
  has "$list" "usb-hid-kb.*${hid[1]}.*V4.31"
  has "$list" "usb-rs232.*${acm[0]}.*V4.32"
  local kinds=("usb-hid:${hid[0]}" "usb-hid-kb:${hid[1]}" "usb-rs232:${acm[0]}" "rs232:${pty[0]}")
  local firmware=(V4.30 V4.31 V4.32 V4.33)
  for i in "${!kinds[@]}"; do
    local d=${kinds[$i]} f=kind$i
    echo "== $d"
    has "$("$cli" --device "$d" report)" "${firmware[$i]}"
    has "$("$cli" --device "$d" send '\x2\x52\x22\x3')" "${firmware[$i]}"
    "$cli" --device "$d" save "$f-factory.cfs2"
    "$cli" diff "$f-factory.cfs2" "reader:$d"
    cp "$f-factory.cfs2" "$f.cfs2"
    "$cli" set "$f.cfs2" TerminalType=0x35 Track1Prefix='\x2AB' >/dev/null
    "$cli" --device "$d" apply "$f.cfs2"
    "$cli" diff "$f.cfs2" "reader:$d"
    "$cli" --device "$d" defaults
    "$cli" diff "$f-factory.cfs2" "reader:$d"
  done
  # The HID reader's settings to the three others, then each holds them.
  "$cli" --device "${kinds[0]}" apply kind0.cfs2
  "$cli" clone --from "${kinds[0]}" --to "${kinds[1]}" --to "${kinds[2]}" --to "${kinds[3]}"
  for d in "${kinds[@]:1}"; do
    "$cli" --device "$d" save cloned.cfs2
    has "$("$cli" show cloned.cfs2 --json)" '"TerminalType": 53'
  done
  stop hid
  stop acm
  stop pty
}

# Eight HID readers at once, then a reader answering NAK and one pulled out half way beside
# a good one.
apply_all() {
  "$cli" new shop.cfs2 --firmware V4.30 >/dev/null
  "$cli" set shop.cfs2 TerminalType=0x35 >/dev/null
  local uhid=()
  for _ in $(seq 8); do uhid+=(--uhid usb-hid); done
  serve eight 8 "${uhid[@]}"
  local out
  out=$("$cli" apply shop.cfs2 --all)
  echo "$out"
  has "$out" "8 of 8 readers configured"
  for node in "${eight[@]}"; do "$cli" diff shop.cfs2 "reader:usb-hid:$node"; done
  stop eight

  serve faulty 3 --uhid usb-hid --uhid usb-hid,fault=nak --uhid usb-hid,fault=unplug
  local status=0
  out=$("$cli" apply shop.cfs2 --all) || status=$?
  echo "$out"
  [ "$status" = 1 ] || fail "apply --all to fail (1), not $status"
  has "$out" "${faulty[0]} .*successfully"
  has "$out" "1 of 3 readers configured"
  [ -e "${faulty[1]}" ] || fail "the NAK reader to stay"
  [ ! -e "${faulty[2]}" ] || fail "the reader pulled out to be gone"
  stop faulty
}

# A watch that configures the readers made after it started; the keyboard reader restarts
# as a HID reader for the file's USB HID format, and the watch follows it.
watch_apply() {
  "$cli" new hidformat.cfs2 --firmware V4.30 >/dev/null
  "$cli" set hidformat.cfs2 TerminalType=0x35 >/dev/null
  timeout 120 "$cli" watch --apply hidformat.cfs2 --count 2 >watch.out 2>&1 &
  local watch=$!
  sleep 2
  serve late 2 --uhid usb-hid --uhid usb-hid-kb
  wait "$watch" || { cat watch.out; fail "watch to end by itself with status 0"; }
  cat watch.out
  local out
  out=$(cat watch.out)
  has "$out" "usb-hid:.*${late[0]}.*arrived"
  has "$out" "usb-hid-kb:.*${late[1]}.*arrived"
  has "$out" "restarted and was opened again"
  [ "$(grep -c successfully <<<"$out")" = 2 ] || fail "two readers configured"
  # The restarted keyboard reader is a HID reader now, holding the file.
  "$cli" diff hidformat.cfs2 reader:serial:SN00000002
  stop late
}

# The udev rule: uaccess on a USB HID reader (a gadget with the hid function, which has the
# USB attributes that a uhid device lacks) and ModemManager kept off the USB serial reader;
# without the rule, a user who may not open the reader is told about it.
udev_rule() {
  local g=/sys/kernel/config/usb_gadget/hid-reader
  mkdir $g $g/strings/0x409 $g/configs/c.1 $g/functions/hid.usb0
  echo 0x3a1d >$g/idVendor
  echo 0x4206 >$g/idProduct
  echo SN00000099 >$g/strings/0x409/serialnumber
  echo 0 >$g/functions/hid.usb0/protocol
  echo 0 >$g/functions/hid.usb0/subclass
  echo 33 >$g/functions/hid.usb0/report_length
  printf '\x06\x00\xff\x09\x01\xa1\x01\x15\x00\x26\xff\x00\x75\x08\x95\x20\x09\x21\xb1\x02\xc0' \
    >$g/functions/hid.usb0/report_desc
  ln -s $g/functions/hid.usb0 $g/configs/c.1/
  ls /sys/class/udc | head -1 >$g/UDC
  udevadm settle
  local node=""
  for _ in $(seq 100); do
    for h in /sys/class/hidraw/*; do
      grep -q 'HID_ID=0003:00003A1D:00004206' "$h/device/uevent" 2>/dev/null &&
        grep -q 'HID_UNIQ=SN00000099' "$h/device/uevent" && node=/dev/${h##*/}
    done
    [ -n "$node" ] && break
    sleep 0.1
  done
  udevadm settle
  [ -n "$node" ] || fail "the HID gadget's hidraw node"
  has "$(udevadm info "$node")" "TAGS=.*:uaccess:"
  echo "" >$g/UDC
  rm $g/configs/c.1/hid.usb0
  rmdir $g/configs/c.1 $g/functions/hid.usb0 $g/strings/0x409 $g

  serve serial 1 --usb-serial
  has "$(udevadm info -q property "${serial[0]}")" "ID_MM_DEVICE_IGNORE=1"
  stop serial

  rm /etc/udev/rules.d/70-ravelfin.rules
  udevadm control --reload
  serve norule 1 --uhid usb-hid
  local out status=0
  out=$(setpriv --reuid=65534 --regid=65534 --clear-groups "$cli" --device "usb-hid:${norule[0]}" report 2>&1) || status=$?
  echo "$out"
  [ "$status" = 1 ] || fail "status 1, not $status"
  has "$out" "Permission denied.*70-ravelfin.rules"
  stop norule
  cp "$source/resources/linux/70-ravelfin.rules" /etc/udev/rules.d/
  udevadm control --reload
}

# What `simulate` says when the system lacks what it needs, and that it leaves nothing made.
refusals() {
  local out status
  refused() {  # refused WHAT-THE-LINE-SAYS COMMAND...
    local says=$1
    shift
    status=0
    out=$("$@" 2>&1 >/dev/null) || status=$?
    echo "$out"
    [ "$status" = 1 ] || fail "status 1 from $*, not $status"
    [ "$(grep -c . <<<"$out")" = 1 ] || fail "one line from $*"
    has "$out" "$says"
  }
  local gadgets
  gadgets=$(ls /sys/kernel/config/usb_gadget)
  refused "run simulate --uhid as root" setpriv --reuid=65534 --regid=65534 --clear-groups \
    "$cli" simulate --uhid usb-hid
  refused "as root" setpriv --reuid=65534 --regid=65534 --clear-groups \
    "$cli" simulate --usb-serial
  rmmod uhid
  refused "modprobe uhid" "$cli" simulate --uhid usb-hid --uhid usb-hid-kb
  modprobe uhid
  rmmod dummy_hcd
  refused "modprobe dummy_hcd" "$cli" simulate --usb-serial
  modprobe dummy_hcd num=2
  umount /sys/kernel/config
  refused "modprobe libcomposite" "$cli" simulate --usb-serial
  mount -t configfs configfs /sys/kernel/config
  [ "$(ls /sys/kernel/config/usb_gadget)" = "$gadgets" ] || fail "no gadget left behind"
  [ -z "$(ls /sys/bus/hid/devices | grep -i 3a1d)" ] || fail "no HID device left behind"
}

# The desktop program finds the HID reader in its interface wizard and shows its report.
desktop() {
  serve gui 1 --uhid usb-hid,firmware=V4.30
  Xvfb :7 -nolisten tcp >/dev/null 2>&1 &
  local x=$!
  for _ in $(seq 100); do [ -e /tmp/.X11-unix/X7 ] && break; sleep 0.1; done
  local out
  out=$(DISPLAY=:7 QT_QPA_PLATFORM=xcb "$probe")
  kill "$x"
  echo "$out"
  has "$out" "wizard: .*V4.30.*${gui[0]}"
  has "$out" "report: .*4.30"
  stop gui
}

# ---- running them

all=(refusals every_command_on_every_kind apply_all watch_apply udev_rule desktop)
if [ "$only" = "--one" ]; then
  # Whatever the scenario left running goes with it.
  trap 'kill $(jobs -p) 2>/dev/null; wait' EXIT
  set -euo pipefail
  "$4"
  exit
fi
passed=0 failed=0
for s in "${all[@]}"; do
  [ -n "$only" ] && [ "$only" != "$s" ] && continue
  start=$SECONDS
  if bash "$0" "$build" "$source" --one "$s" >"$work/$s.out" 2>&1; then
    passed=$((passed + 1))
    echo "PASS $s ($((SECONDS - start)) s)"
  else
    failed=$((failed + 1))
    echo "FAIL $s ($((SECONDS - start)) s)"
    sed 's/^/  | /' "$work/$s.out"
  fi
done
echo "kernel-test: $passed passed, $failed failed"
