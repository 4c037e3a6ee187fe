#!/usr/bin/env bash
# ansible-lint's production profile on the collection and its role, offline; and the modules'
# and the role's documentation renders.
# usage: lint_collection.sh COLLECTIONS_DIR WORK_DIR
set -euo pipefail
collections=$1
work=$2
for tool in ansible-lint ansible-doc; do
  command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed (scripts/install-deps.sh)"; exit 77; }
done
rm -rf "$work" && mkdir -p "$work"
export HOME=$work ANSIBLE_COLLECTIONS_PATH=$collections ANSIBLE_LOCAL_TEMP=$work/tmp NO_COLOR=1
cd "$collections/ansible_collections/orvane/ravelfin"
ansible-lint --offline --profile production --nocolor
for module in reader reader_info; do
  ansible-doc "orvane.ravelfin.$module" | grep -q "^> ORVANE.RAVELFIN.${module^^}"
done
ansible-doc -t role orvane.ravelfin.readers | grep -q "ravelfin_config_src"
echo "lint and documentation: fine"
