#!/usr/bin/env bash
# Boots Debian's stock kernel in QEMU on this machine's own root file system (shared read-only
# over 9p, with a fresh /tmp and /run) and runs tests/kernel/scenarios.sh there: the real
# `ravelfin` and `ravelfin-config` builds against readers that the kernel itself shows,
# made by `ravelfin simulate --uhid` and `--usb-serial`, with systemd-udevd and the project's
# udev rule in place. The kernel comes from Debian's package, downloaded with apt and unpacked
# into the build folder; nothing is installed on the machine.
#
#   scripts/kernel-test.sh [BUILD [SCENARIO]]   run the scenarios (or one) on BUILD's programs
#                                               (default: build)
#   scripts/kernel-test.sh --check       exit 0 when QEMU can start here, else say why and exit 1
#
# KVM is used when it starts, software emulation otherwise. Run it under the build lock on a
# shared machine: flock /tmp/ravelfin-build.lock bash scripts/kernel-test.sh
set -euo pipefail
cd "$(dirname "$0")/.."
source=$PWD

qemu=qemu-system-x86_64
check_qemu() {
  local tool
  for tool in "$qemu" busybox cpio depmod systemd-udevd:/lib/systemd/systemd-udevd; do
    local name=${tool%%:*} path=${tool#*:}
    [ "$name" = "$tool" ] && path=$(command -v "$name" || true)
    if [ ! -x "$path" ]; then
      echo "$name is missing: run scripts/install-deps.sh"
      return 1
    fi
  done
  # The list is read whole first: grep -q leaving a pipe early kills busybox with SIGPIPE, and
  # under pipefail a loaded machine then took the static busybox for another one.
  if ! grep -qx switch_root <<<"$(busybox --list 2>/dev/null)" ||
    ldd "$(command -v busybox)" >/dev/null 2>&1; then
    echo "busybox is not the static one: apt-get install busybox-static"
    return 1
  fi
  if ! echo quit | timeout 20 "$qemu" -machine pc -accel tcg -display none -nodefaults \
      -monitor stdio -S >/dev/null 2>&1; then
    echo "$qemu does not start on this machine"
    return 1
  fi
}

if [ "${1:-}" = "--check" ]; then
  check_qemu
  exit
fi
build=$(realpath "${1:-build}")
only=${2:-}
for program in src/cli/ravelfin tests/kernel/ravelfin-desktop-probe; do
  [ -x "$build/$program" ] || { echo "kernel-test: no $build/$program; build first" >&2; exit 1; }
done
reason=$(check_qemu) || { echo "kernel-test: $reason" >&2; exit 1; }

# The kernel: Debian's current stock kernel package, unpacked once per version.
work=$build/kernel-test
mkdir -p "$work"
# A machine that cannot get the kernel (no network, no apt sources) skips the test with exit
# status 77, saying why; that is no fault of the program.
skip() { echo "kernel-test: skipped: $1" >&2; exit 77; }
package=$(apt-cache depends linux-image-amd64 2>/dev/null | awk '/Depends: linux-image-[0-9]/ {print $2; exit}')
if [ -z "$package" ]; then
  apt-get update -q >/dev/null 2>&1 || true
  package=$(apt-cache depends linux-image-amd64 2>/dev/null |
    awk '/Depends: linux-image-[0-9]/ {print $2; exit}')
fi
[ -n "$package" ] || skip "apt knows no linux-image-amd64 package here"
version=${package#linux-image-}
kernel=$work/$version
if [ ! -f "$kernel/done" ]; then
  rm -rf "$kernel" && mkdir -p "$kernel/download"
  # apt's download user must be able to write there; the unpacked tree stays root's.
  (cd "$kernel/download" && chmod 777 . && apt-get download -q "$package" >/dev/null 2>&1) ||
    { rm -rf "$kernel"; skip "apt-get download $package failed (no network?)"; }
  dpkg-deb -x "$kernel"/download/*.deb "$kernel/root"
  rm -rf "$kernel/download"
  depmod -b "$kernel/root" "$version"
  touch "$kernel/done"
fi
modules=$kernel/root/lib/modules/$version

# The initial file system: a static busybox and the modules needed to reach the root over 9p
# and to make readers; its /init mounts the machine's root and hands over to guest-init.sh.
initrd=$work/initrd-$version.gz
if [ ! -f "$initrd" ] || [ "$0" -nt "$initrd" ]; then
  staging=$(mktemp -d)
  trap 'rm -rf "$staging"' EXIT
  mkdir -p "$staging"/{bin,dev,proc,sys,root,modules}
  cp "$(command -v busybox)" "$staging/bin/busybox"
  for m in virtio_pci 9pnet_virtio 9p overlay; do
    modprobe -d "$kernel/root" -S "$version" --show-depends "$m"
  done | awk '$1 == "insmod" && !seen[$2]++ {print $2}' >"$staging/modules/order"
  while read -r ko; do cp "$ko" "$staging/modules/"; done <"$staging/modules/order"
  sed -i 's|.*/||' "$staging/modules/order"
  cat >"$staging/init" <<'EOF'
#!/bin/busybox sh
/bin/busybox --install -s /bin
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev
next=$(sed 's/.*ravelfin.init=\([^ ]*\).*/\1/' /proc/cmdline)
while read -r ko; do insmod "/modules/$ko" || echo "init: cannot load $ko"; done </modules/order
mkdir -p /lower /upper
mount -t 9p -o trans=virtio,version=9p2000.L,ro,cache=loose,msize=262144 hostroot /lower
# Writes land in memory: the machine's files stay as they are.
mount -t tmpfs -o mode=755 upper /upper
mkdir -p /upper/data /upper/work
mount -t overlay -o lowerdir=/lower,upperdir=/upper/data,workdir=/upper/work overlay /root
mkdir -p /root/usr/lib/modules
mount -t 9p -o trans=virtio,version=9p2000.L,ro,cache=loose modules /root/usr/lib/modules
for fs in tmp run; do mount -t tmpfs -o mode=1777 "$fs" "/root/$fs"; done
chmod 755 /root/run
mount --move /dev /root/dev
mount --move /proc /root/proc
mount --move /sys /root/sys
exec switch_root /root "$next"
EOF
  chmod +x "$staging/init"
  (cd "$staging" && find . | cpio -o -H newc --quiet | gzip -1) >"$initrd"
  rm -rf "$staging"
  trap - EXIT
fi

accel=tcg
[ -w /dev/kvm ] && accel=kvm:tcg
log=$work/console.log
echo "kernel-test: booting $version ($accel) with $build"
start=$SECONDS
set +e
timeout 900 "$qemu" -machine "pc,accel=$accel" -cpu max -smp 2 -m 2048 \
  -display none -nodefaults -no-user-config -no-reboot -serial stdio \
  -kernel "$kernel/root/boot/vmlinuz-$version" -initrd "$initrd" \
  -append "console=ttyS0 quiet panic=-1 ravelfin.init=$source/tests/kernel/guest-init.sh ravelfin.build=$build ravelfin.source=$source ravelfin.only=$only" \
  -virtfs "local,path=/,mount_tag=hostroot,security_model=none,readonly=on,multidevs=remap" \
  -virtfs "local,path=$modules/..,mount_tag=modules,security_model=none,readonly=on" \
  | tee "$log"
status=${PIPESTATUS[0]}
set -e
echo "kernel-test: the machine ran $((SECONDS - start)) s"
result=$(grep -a '^kernel-test: [0-9]* passed, [0-9]* failed' "$log" | tail -1 | tr -d '\r')
if [ -z "$result" ]; then
  echo "kernel-test: the machine ended without a result (QEMU status $status); see $log" >&2
  exit 1
fi
echo "$result"
[[ $result == *" 0 failed" ]]
