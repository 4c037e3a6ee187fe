#!/usr/bin/env bash
# Builds the programs and starts the desktop program on a built-in simulated reader.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-demo -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build build-demo -j"$(nproc)" --target ravelfin-config ravelfin
exec ./build-demo/src/app/ravelfin-config --simulate usb-hid "$@"
