#!/usr/bin/env bash
# Checks of the installed programs, each on a fresh staging install of the build tree:
#   install_checks.sh CHECK BUILD_DIR SOURCE_DIR VERSION
# CHECK is layout, programs, desktop, metainfo, man or completion. Exits 77 (skipped) with a
# message when a tool the check needs is missing.
set -euo pipefail
check=$1 build=$2 source=$3 version=$4
app_id=com.orvane.RavelfinConfig

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
skip_without() {
  command -v "$1" >/dev/null || {
    echo "SKIPPED: $1 is not installed (scripts/install-deps.sh installs it)"
    exit 77
  }
}

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cmake --install "$build" --prefix "$stage/usr" >/dev/null
usr=$stage/usr
export PATH="$usr/bin:$PATH"

# The commands and options `ravelfin --help` names: the man page and the completion must
# know every one of them.
help_commands() { "$usr/bin/ravelfin" --help | grep -oE '^  [a-z][a-z-]*' | tr -d ' ' | sort -u; }
help_options() { "$1" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u; }

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
  grep -q "<release version=\"$version\"" "$usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "the AppStream release is not $version"
  for page in ravelfin ravelfin-config; do
    zcat "$usr/share/man/man1/$page.1.gz" | head -1 | grep -q "\"ravelfin $version\"" ||
      fail "$page(1) is not marked with version $version"
  done
  ;;
desktop)
  skip_without desktop-file-validate
  entry=$usr/share/applications/$app_id.desktop
  out=$(desktop-file-validate "$entry" 2>&1) || fail "$out"
  [[ -z $out ]] || fail "desktop-file-validate: $out"
  exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
  icon=$(sed -n 's/^Icon=//p' "$entry")
  [[ -x $usr/bin/$exec_name ]] || fail "Exec=$exec_name is not an installed program"
  [[ -f $usr/share/icons/hicolor/scalable/apps/$icon.svg ]] || fail "Icon=$icon is not installed"
  ;;
metainfo)
  skip_without appstreamcli
  appstreamcli validate --no-net "$usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "appstreamcli validate"
  grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" \
    "$usr/share/metainfo/$app_id.metainfo.xml" || fail "the metainfo launches no installed entry"
  ;;
man)
  skip_without man
  for page in ravelfin ravelfin-config; do
    file=$usr/share/man/man1/$page.1.gz
    # How Debian's checks render a page; any message is a fault in the page.
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
      "$file" 2>&1 >/dev/null) || fail "man could not render $page(1)"
    [[ -z $warnings ]] || fail "$page(1): $warnings"
    text=$(zcat "$file" | sed 's/\\-/-/g; s/\\f[BIRP]//g')
    for option in $(help_options "$usr/bin/$page"); do
      grep -qE -- "(^|[^a-z-])$option([^a-z-]|$)" <<<"$text" || fail "$page(1) lacks $option"
    done
    grep -q '^\.SH EXIT STATUS' <<<"$text" || fail "$page(1) has no EXIT STATUS"
  done
  text=$(zcat "$usr/share/man/man1/ravelfin.1.gz" | sed 's/\\-/-/g; s/\\f[BIRP]//g')
  for command in $(help_commands); do
    grep -qE "^\.B[IR]? +\"?$command( |\"|$)" <<<"$text" || fail "ravelfin(1) lacks command $command"
  done
  ;;
completion)
  # Asks the completion what it offers for a command line; a trailing space starts a new word.
  complete_line() {
    bash --norc --noprofile -c '
      source "$1"
      read -ra COMP_WORDS <<<"$2"
      [[ $2 == *" " ]] && COMP_WORDS+=("")
      COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
      COMP_LINE=$2
      _ravelfin
      printf "%s\n" "${COMPREPLY[@]}"' _ "$usr/share/bash-completion/completions/ravelfin" "$1"
  }
  offers() {  # LINE WORD...: every WORD is offered for LINE
    local line=$1 got
    shift
    got=$(complete_line "$line")
    for word in "$@"; do
      grep -qxF -- "$word" <<<"$got" || fail "'$line' does not offer $word (offers: $(echo $got))"
    done
  }
  offers "ravelfin " $(help_commands)
  all_options=$(for command in $(help_commands); do complete_line "ravelfin $command --"; done)
  for option in $(help_options "$usr/bin/ravelfin"); do
    grep -qxF -- "$option" <<<"$all_options" || fail "no command completes $option"
  done
  offers "ravelfin --simulate usb-hid --device " usb-hid:0 usb-hid:/sim/hidraw0 path:9-1 serial:SN00000001
  offers "ravelfin --simulate usb-hid clone --from usb-hid : " 0  # bash splits at the colon
  files=$stage/files
  mkdir -p "$files/folder"
  touch "$files/a.cfs2" "$files/b.txt"
  offers "ravelfin show $files/" "$files/a.cfs2" "$files/folder"
  offers "ravelfin convert old.cfs2 $files/" "$files/a.cfs2"
  offers "ravelfin simulate --load $files/a" "$files/a.cfs2"
  offers "ravelfin diff $files/" "$files/a.cfs2"
  offers "ravelfin diff a.cfs2 rea" "reader:"
  offers "ravelfin --simulate usb-hid diff a.cfs2 reader : " usb-hid:0
  ! complete_line "ravelfin apply $files/" | grep -q 'b\.txt' || fail "offers a file that is not .cfs2"
  ;;
*) fail "unknown check $check" ;;
esac
echo "$check: ok"
