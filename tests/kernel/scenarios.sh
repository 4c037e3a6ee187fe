#!/bin/bash
# The scenarios of the test machine (tests/kernel/guest-init.sh runs them as root): the real
# `ravelfin` and `ravelfin-config` builds, without --simulate, on readers that the kernel
# shows: HID devices made by `ravelfin simulate --uhid`, a USB serial port made by
# `simulate --usb-serial` and an RS-232 reader on a pseudo-terminal.
#
#   scenarios.sh BUILD SOURCE [ONLY]     ONLY: run only these scenarios (split by commas)
# Prints PASS or FAIL per scenario (with its output when it failed), then the count.
build=$1 source=$2 only=${3:-}
cli=$build/src/cli/ravelfin
probe=$build/tests/kernel/ravelfin-desktop-probe
work=/tmp/scenarios
export HOME=/tmp/home TMPDIR=/tmp QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=/tmp/runtime
mkdir -p "$work" "$HOME"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
cd "$work" || exit 1

# ---- helpers (a scenario runs with errexit: any failing command fails it)

fail() { echo "expected: $*" >&2; return 1; }

# The tool, with how long each command took on standard error.
ravelfin() {
  local start=$SECONDS status=0
  "$cli" "$@" || status=$?
  echo "[$((SECONDS - start)) s, status $status] ravelfin $*" >&2
  return $status
}

# serve NAME COUNT ARGS...: `ravelfin simulate ARGS` in the background until `stop NAME`;
# waits for its COUNT nodes, which land in the array NAME, and for udev to be done with them.
serve() {
  local name=$1 count=$2 out=$PWD/$1.nodes
  shift 2
  "$cli" simulate "$@" >"$out" 2>"$name.err" &
  eval "${name}_pid=$!"
  for _ in $(seq 300); do
    [ "$(grep -c . "$out")" -ge "$count" ] && break
    kill -0 "$(eval echo "\$${name}_pid")" 2>/dev/null || { cat "$name.err" >&2; return 1; }
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

# What a scenario left running is stopped; what does not stop within 5 s is told of.
finish() {
  local left
  left=$(jobs -p)
  [ -n "$left" ] || return 0
  kill $left 2>/dev/null || true
  for _ in $(seq 50); do
    kill -0 $left 2>/dev/null || { wait; return 0; }
    sleep 0.1
  done
  ps -o pid,stat,wchan:30,args -p "$(echo $left | tr ' ' ,)" >&2
  for pid in $left; do cat "/proc/$pid/stack" >&2 2>/dev/null; done
  kill -KILL $left 2>/dev/null
  return 1
}

# ---- scenarios

# A reader of each kind: the USB ones as the machine lists them, the keyboard reader's
# settings read whole, then one HID reader's settings cloned to the others, which then hold
# them as their own commands read back.
clone_to_every_kind() {
  serve hid 2 --uhid usb-hid --uhid usb-hid-kb
  serve acm 1 --usb-serial
  serve pty 1 --pty
  local list
  list=$(ravelfin list)
  has "$list" "^usb-hid	.*${hid[0]}	V4.30"
  has "$list" "^usb-hid-kb	.*${hid[1]}	V4.30"
  has "$list" "^usb-rs232	.*${acm[0]}	V4.30"
  ravelfin --device "usb-hid-kb:${hid[1]}" save keyboard.cfs2
  ravelfin new shop.cfs2 --firmware V4.30 >/dev/null
  ravelfin set shop.cfs2 TerminalType=0x35 >/dev/null
  ravelfin --device "usb-hid:${hid[0]}" apply shop.cfs2
  local targets=("usb-hid-kb:${hid[1]}" "usb-rs232:${acm[0]}" "rs232:${pty[0]}")
  ravelfin clone --from "usb-hid:${hid[0]}" "${targets[@]/#/--to=}"
  # The keyboard reader took the HID reader's USB HID format and restarts as a HID reader.
  for _ in $(seq 10); do
    list=$(ravelfin list)
    grep -q "^usb-hid	.*SN00000002" <<<"$list" && break
  done
  has "$list" "^usb-hid	.*SN00000002"
  targets[0]=serial:SN00000002
  for d in "${targets[@]}"; do
    ravelfin --device "$d" save cloned.cfs2
    has "$(ravelfin show cloned.cfs2 --json)" '"TerminalType": 53'
  done
  for served in hid acm pty; do stop $served; done
}

# Eight HID readers at once, then a reader answering NAK and one pulled out half way beside
# a good one.
apply_all() {
  local uhid=()
  for _ in $(seq 8); do uhid+=(--uhid usb-hid); done
  serve eight 8 "${uhid[@]}"
  ravelfin --device "usb-hid:${eight[0]}" save shop.cfs2
  ravelfin set shop.cfs2 TerminalType=0x35 >/dev/null
  has "$(ravelfin apply shop.cfs2 --all)" "8 of 8 readers configured"
  for node in "${eight[@]}"; do ravelfin diff shop.cfs2 "reader:usb-hid:$node"; done
  stop eight

  serve faulty 3 --uhid usb-hid --uhid usb-hid,fault=nak --uhid usb-hid,fault=unplug
  local out status=0
  out=$(ravelfin apply shop.cfs2 --all) || status=$?
  [ "$status" = 1 ] || fail "apply --all to fail (1), not $status: $out"
  has "$out" "${faulty[0]} .*successfully"
  has "$out" "1 of 3 readers configured"
  [ -e "${faulty[1]}" ] || fail "the NAK reader to stay"
  [ ! -e "${faulty[2]}" ] || fail "the reader pulled out to be gone"
  stop faulty
}

# A watch that configures the readers made after it started; the keyboard reader restarts
# as a HID reader for the file's USB HID format, and the watch follows it.
watch_apply() {
  ravelfin new hidformat.cfs2 --firmware V4.30 >/dev/null
  ravelfin set hidformat.cfs2 TerminalType=0x35 HidFormat=0x30 >/dev/null
  timeout 120 "$cli" watch --apply hidformat.cfs2 --count 2 >watch.out 2>&1 &
  local watch=$!
  sleep 2
  serve late 2 --uhid usb-hid --uhid usb-hid-kb
  wait "$watch" || fail "watch to end by itself with status 0: $(cat watch.out)"
  local out
  out=$(cat watch.out)
  has "$out" "usb-hid:.*${late[0]}.*arrived"
  has "$out" "usb-hid-kb:.*${late[1]}.*arrived"
  has "$out" "restarted and was opened again"
  [ "$(grep -c successfully <<<"$out")" = 2 ] || fail "two readers configured"
  stop late
}

# The udev rule: uaccess on a HID reader made through uhid (known by its HID name alone) and
# on a USB HID reader (a gadget with the hid function, which has the USB attributes that a
# uhid device lacks), ModemManager kept off the USB serial reader; without the rule, a user
# who may not open the reader is told about it.
udev_rule() {
  serve uhid 1 --uhid usb-hid
  has "$(udevadm info "${uhid[0]}")" "TAGS=.*:uaccess:"
  stop uhid

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
    node=$(grep -ls HID_UNIQ=SN00000099 /sys/class/hidraw/*/device/uevent) && break
    sleep 0.1
  done
  udevadm settle
  [ -n "$node" ] || fail "the HID gadget's hidraw node"
  has "$(udevadm info "/dev/$(cut -d/ -f5 <<<"$node")")" "TAGS=.*:uaccess:"
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
  [ "$status" = 1 ] || fail "status 1, not $status: $out"
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
    [ "$status" = 1 ] || fail "status 1 from $*, not $status: $out"
    [ "$(grep -c . <<<"$out")" = 1 ] || fail "one line from $*: $out"
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
  has "$out" "wizard: .*V4.30.*${gui[0]}"
  has "$out" "report: .*4.30"
  stop gui
}

# ---- running them

# One after another: what works on every attached reader (list, --all, watch, the wizard)
# must see no other reader come or go.
scenarios=(refusals apply_all watch_apply desktop clone_to_every_kind udev_rule)
limit=180  # seconds for one scenario

if [ "$only" = "--one" ]; then
  mkdir -p "$work/$4"
  cd "$work/$4"
  # Whatever the scenario left running goes with it.
  trap 'status=$?; finish; exit $status' EXIT
  set -Eeuo pipefail
  trap 'echo "failed: line $LINENO: $BASH_COMMAND" >&2' ERR
  "$4"
  exit
fi

# run NAME: one scenario in a shell of its own; its verdict and output go to NAME.verdict.
run() {
  local s=$1 start=$SECONDS out=$work/$1.out
  if timeout -s INT -k 10 $limit bash "$0" "$build" "$source" --one "$s" >"$out" 2>&1; then
    echo "PASS $s ($((SECONDS - start)) s)"
    grep '^\[' "$out" | sed 's/^/  | /'
  else
    echo "FAIL $s ($((SECONDS - start)) s$( ((SECONDS - start < limit)) || echo ", too long"))"
    sed 's/^/  | /' "$out"
  fi >"$work/$s.verdict"
  cat "$work/$s.verdict"
}

for s in "${scenarios[@]}"; do
  [[ -z $only || ,$only, == *,$s,* ]] && run "$s"
done
passed=$(cat "$work"/*.verdict 2>/dev/null | grep -c '^PASS')
failed=$(cat "$work"/*.verdict 2>/dev/null | grep -c '^FAIL')
echo "kernel-test: $passed passed, $failed failed"
