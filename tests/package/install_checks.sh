#!/usr/bin/env bash
# Checks of the installed programs, each on a fresh staging install of the build tree:
#   install_checks.sh CHECK BUILD_DIR SOURCE_DIR VERSION
# CHECK is layout or programs.
set -euo pipefail
check=$1 build=$2 source=$3 version=$4
app_id=com.orvane.RavelfinConfig

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cmake --install "$build" --prefix "$stage/usr" >/dev/null
usr=$stage/usr
export PATH="$usr/bin:$PATH"

case $check in
layout)
  expected=(
    bin/ravelfin bin/ravelfin-config
    share/applications/$app_id.desktop
    share/metainfo/$app_id.metainfo.xml
    share/icons/hicolor/scalable/apps/$app_id.svg
    "share/ravelfin-config/HOW TO USE THIS UTILITY.txt"
    share/man/man1/ravelfin.1.gz share/man/man1/ravelfin-config.1.gz
    share/bash-completion/completions/ravelfin
    lib/udev/rules.d/70-ravelfin.rules
    share/doc/ravelfin/copyright share/doc/ravelfin/changelog.gz
  )
  for size in 48 64 128 256; do
    expected+=(share/icons/hicolor/${size}x$size/apps/$app_id.png)
  done
  for page in "$source"/resources/help/*; do
    expected+=(share/ravelfin-config/help/"$(basename "$page")")
  done
  diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$usr" && find . -type f -printf '%P\n' | sort) ||
    fail "installed files (>) differ from the expected layout (<)"
  ;;
programs)
  [[ $(ravelfin --version) == "ravelfin $version" ]] || fail "ravelfin --version: $(ravelfin --version)"
  [[ $(ravelfin-config --version) == "ravelfin-config $version" ]] ||
    fail "ravelfin-config --version: $(ravelfin-config --version)"
  ;;
*) fail "unknown check $check" ;;
esac
echo "$check: ok"
