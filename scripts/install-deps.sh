#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, when any is missing.
set -euo pipefail
packages=(
  build-essential cmake pkg-config ccache
  googletest libgtest-dev libgmock-dev
  qt6-base-dev qt6-serialport-dev libgl-dev
  libhidapi-dev libudev-dev
  lintian
  clang libclang-rt-14-dev
  ansible-core
  # The test machine of scripts/kernel-test.sh and the desktop program's display there.
  qemu-system-x86 busybox-static cpio kmod udev xvfb
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
