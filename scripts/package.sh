#!/usr/bin/env bash
# Builds the Debian package of ravelfin-config and ravelfin: a release build installed under
# /usr with Debian's hardening flags, packed by CPack, then checked by lintian when present.
#   bash scripts/package.sh [BUILD_DIR]      (default build-package)
# The package lands in BUILD_DIR: install it with `sudo apt-get install ./BUILD_DIR/ravelfin_*.deb`.
# RAVELFIN_MAINTAINER="Name <address>" sets the package's Maintainer field.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-package}
bash scripts/install-deps.sh

configure=(-S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
           -DCMAKE_INSTALL_PREFIX=/usr)
[[ -n ${RAVELFIN_MAINTAINER:-} ]] && configure+=("-DRAVELFIN_MAINTAINER=$RAVELFIN_MAINTAINER")
command -v ccache >/dev/null && configure+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if command -v dpkg-buildflags >/dev/null; then
  # Fortified, bind-now, read-only-relocation builds, as Debian builds its own packages.
  export DEB_BUILD_MAINT_OPTIONS=hardening=+all
  configure+=("-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
              "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)")
fi
cmake "${configure[@]}"
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/ravelfin_*.deb
(cd "$build" && cpack -G DEB)
deb=$(echo "$build"/ravelfin_*.deb)

if command -v lintian >/dev/null; then
  lintian --fail-on error --tag-display-limit 0 "$deb"
else
  echo "lintian is not installed; the package was not checked"
fi
echo "Package: $deb"
