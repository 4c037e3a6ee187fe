#!/bin/bash
# The first process of the test machine that scripts/kernel-test.sh boots: it makes the
# machine a small real system (device nodes, configfs, systemd-udevd with the project's udev
# rule, the modules that make readers), runs the scenarios and powers the machine off. The
# root file system is the host's, read-only, with writes kept in memory.
export PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8
arg() { sed -n "s/.* ravelfin\.$1=\([^ ]*\).*/\1/p" /proc/cmdline; }
build=$(arg build)
source=$(arg source)
only=$(arg only)

mkdir -p /dev/pts /dev/shm
mount -t devpts -o gid=5,mode=620,ptmxmode=666 devpts /dev/pts
mount -t tmpfs -o mode=1777 shm /dev/shm
hostname ravelfin-test

# As the package installs it.
cp "$source/resources/linux/70-ravelfin.rules" /etc/udev/rules.d/
/lib/systemd/systemd-udevd --daemon --resolve-names=never
udevadm trigger --action=add >/dev/null 2>&1
# Two device controllers: the USB serial reader and a USB HID gadget at once.
modprobe -a uhid hid-generic usbhid libcomposite usb_f_acm usb_f_hid cdc_acm
modprobe dummy_hcd num=2
mount -t configfs configfs /sys/kernel/config
udevadm settle
echo "kernel-test: the machine was up after $(cut -d' ' -f1 /proc/uptime) s"

bash "$source/tests/kernel/scenarios.sh" "$build" "$source" "$only"
sync
busybox poweroff -f
