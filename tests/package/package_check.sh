#!/usr/bin/env bash
# Builds the Debian package from the build tree and checks it:
#   package_check.sh BUILD_DIR
# the dependencies computed from the programs, the udev rule, the maintainer scripts with and
# without a running udev, and lintian (skipped with a message when missing).
set -euo pipefail
build=$1

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || {
    echo "SKIPPED: $tool is not installed (scripts/install-deps.sh installs it)"
    exit 77
  }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
start=$SECONDS
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
  fail "cpack: $(cat "$work/cpack.log")"
deb=$(echo "$work"/*.deb)
[[ -f $deb ]] || fail "cpack made no .deb"
echo "package: $(basename "$deb") in $((SECONDS - start)) s"

depends=$(dpkg-deb --field "$deb" Depends)
for library in libc6 libqt6widgets6 libqt6serialport6 libhidapi-hidraw0 qt6-qpa-plugins; do
  [[ $depends == *"$library"* ]] || fail "Depends lacks $library: $depends"
done
contents=$(dpkg-deb --contents "$deb")
grep -q ' \./usr/lib/udev/rules.d/70-ravelfin.rules$' <<<"$contents" || fail "the package has no udev rule"

# The maintainer scripts reload udev when it runs, and do nothing when it does not.
dpkg-deb --control "$deb" "$work/control"
fakebin=$work/bin
mkdir -p "$fakebin"
cat >"$fakebin/udevadm" <<'FAKE'
#!/bin/sh
echo "$*" >>"$UDEVADM_LOG"
case "$*" in *--ping*) exit "$UDEVADM_PING_STATUS" ;; esac
FAKE
chmod +x "$fakebin/udevadm"
run_script() {  # PING_STATUS SCRIPT ARGUMENT: what it asked udevadm to do
  local log=$work/udevadm.log
  : >"$log"
  UDEVADM_LOG=$log UDEVADM_PING_STATUS=$1 PATH="$fakebin:/usr/bin:/bin" \
    sh "$work/control/$2" "$3" || fail "$2 $3 failed"
  grep -v -- --ping "$log" | tr '\n' ';' || true
}
for script in postinst postrm; do
  [[ -x $work/control/$script ]] || fail "no executable $script"
done
for run in "postinst configure" "postrm remove" "postrm purge"; do
  # shellcheck disable=SC2086
  did=$(run_script 0 $run)
  [[ $did == *"control --reload-rules"*"trigger"* ]] || fail "$run with udev running did: $did"
  # shellcheck disable=SC2086
  did=$(run_script 1 $run)
  [[ -z $did ]] || fail "$run without udev did: $did"
done
[[ -z $(run_script 0 postrm upgrade) ]] || fail "postrm upgrade reloads udev"
PATH=/nonexistent /bin/sh "$work/control/postinst" configure || fail "postinst fails without udevadm"

if ! command -v lintian >/dev/null; then
  echo "SKIPPED: lintian is not installed (scripts/install-deps.sh installs it); the package is otherwise fine"
  exit 77
fi
start=$SECONDS
lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian found errors"
echo "lintian: $((SECONDS - start)) s"
echo "package: ok"
