#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright (c) Orvane
# GNU General Public License v3.0+ (see https://www.gnu.org/licenses/gpl-3.0.txt)

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
---
module: reader
short_description: Make Orvane Ravelfin card readers hold the settings of a configuration file
version_added: "1.0.0"
description:
  - Reads each reader on the managed host and writes only those whose settings differ from
    a C(.cfs2) configuration file, so that a second run reports no change.
  - Works through the C(ravelfin) command of the managed host, which the C(ravelfin)
    package installs.
  - A reader that fails fails the task on that host with the reader's own message; the
    other readers of the host are still configured and reported.
options:
  src:
    description:
      - The configuration file on the managed host. Required with I(state=configured).
    type: path
  device:
    description:
      - The readers, as C(ravelfin --device) takes them, for example C(usb-hid:0),
        C(rs232:/dev/ttyS0), C(serial:SN00000001) or C(path:1-2.4).
      - Serial readers are worked on only when named here. Without I(device) and I(all),
        the one USB reader attached.
    type: list
    elements: str
    default: []
  all:
    description:
      - Every attached USB HID and USB HID keyboard reader, besides those in I(device).
    type: bool
    default: false
  state:
    description:
      - C(configured) makes the readers hold the settings of I(src); C(defaults) restores the
        factory settings of those that do not hold them.
    type: str
    choices: [configured, defaults]
    default: configured
  firmware_mismatch:
    description:
      - What to do with a reader whose firmware differs from the one the file was saved for.
      - C(fail) fails that reader and leaves it alone; C(convert) writes the file as that
        reader's firmware stores it.
      - A reader that holds the file's settings already, as its firmware stores them, is left
        alone either way.
    type: str
    choices: [fail, convert]
    default: fail
attributes:
  check_mode:
    support: full
    description: Reads the readers and reports what would change; writes nothing.
  diff_mode:
    support: full
    description: Shows, per reader, the differing settings by their C(ravelfin set) names.
requirements:
  - the C(ravelfin) package on the managed host
author:
  - Orvane
"""

EXAMPLES = r"""
- name: Configure the readers of every till
  orvane.ravelfin.reader:
    src: /etc/ravelfin/shop.cfs2
    all: true
    device:
      - rs232:/dev/ttyS0

- name: Put one reader back to its factory settings
  orvane.ravelfin.reader:
    state: defaults
    device:
      - usb-hid:0
"""

RETURN = r"""
readers:
  description: One entry per reader, in the order of the readers.
  returned: always
  type: list
  elements: dict
  contains:
    device:
      description: The reader as C(ravelfin --device) names it, such as C(usb-hid:0) or C(rs232:/dev/ttyS0).
      type: str
      sample: usb-hid:0
    firmware:
      description: The reader's firmware version text.
      type: str
      sample: V4.30
    result:
      description: C(ok), C(failed) or C(stopped).
      type: str
      sample: ok
    changed:
      description: Whether the reader was written (or, in check mode, would have been).
      type: bool
    changes:
      description: The names of the settings that differed from the wanted ones.
      type: list
      elements: str
      sample: [TerminalType]
    error:
      description: Why the reader failed, as a code such as C(nak) or C(no-answer); null when it did not.
      type: str
    message:
      description: What the reader's part ended with, in the ravelfin tool's words.
      type: str
"""

import os
import tempfile

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.orvane.ravelfin.plugins.module_utils.ravelfin_cli import RavelfinCli


def entry(reader):
    differences = reader.get("differences") or []
    return {
        "device": reader.get("device"),
        "firmware": reader.get("firmware"),
        "result": reader.get("result"),
        "changed": False,
        "changes": [d["name"] for d in differences],
        "error": reader.get("error"),
        "message": reader.get("message"),
    }


def interface_of(device):
    return device.split(":", 1)[0]


class Wanted(object):
    """The file each reader is to hold: src as its firmware stores it, or its factory settings."""

    def __init__(self, cli, params, scratch):
        self.cli, self.params, self.scratch = cli, params, scratch
        self.files = {}

    def path(self, firmware, device):
        key = (firmware, interface_of(device))
        if key not in self.files:
            path = os.path.join(self.scratch, "%d.cfs2" % len(self.files))
            if self.params["state"] == "defaults":
                self.cli.new_file(path, firmware, key[1])
            else:
                self.cli.convert(self.params["src"], path, firmware)
            self.files[key] = path
        return self.files[key]

    def mismatch(self, firmware, device):
        """Whether src, as saved, is not what a reader with this firmware stores."""
        if self.params["state"] == "defaults" or self.params["firmware_mismatch"] == "convert":
            return False
        with open(self.params["src"], "rb") as given:
            with open(self.path(firmware, device), "rb") as converted:
                return given.read() != converted.read()


def compare(cli, params, wanted):
    """Each reader's answer to a comparison with the file it is to hold."""
    if params["state"] == "configured":
        return cli.compare(params["src"], params["device"], params["all"])
    readers = []
    for reader in cli.read_settings(params["device"], params["all"]):
        if reader.get("result") == "ok":
            path = wanted.path(reader["firmware"], reader["device"])
            reader = (cli.compare(path, [reader["device"]], False) or [reader])[0]
        readers.append(reader)
    return readers


def write(cli, params, wanted, items):
    """Writes each reader its file, one ravelfin call per file; updates the items."""
    groups = {}
    for item in items:
        groups.setdefault(wanted.path(item["firmware"], item["device"]), []).append(item)
    for path, group in groups.items():
        names = [item["device"] for item in group]
        if params["state"] == "configured":
            answers = cli.apply(path, names)
        else:
            answers = cli.restore_defaults(names)
        by_device = dict((answer.get("device"), answer) for answer in answers)
        for item in group:
            answer = by_device.get(item["device"], {})
            item.update(result=answer.get("result", "failed"), error=answer.get("error"),
                        message=answer.get("message", "ravelfin did not report this reader"),
                        changed=bool(answer.get("changed")))


def run(module):
    params = module.params
    cli = RavelfinCli(module)
    wanted = Wanted(cli, params, tempfile.mkdtemp(dir=module.tmpdir))
    readers = compare(cli, params, wanted)
    items, diffs, to_write = [], [], []
    for reader in readers:
        item = entry(reader)
        items.append(item)
        if item["result"] != "ok" or reader.get("match", not item["changes"]):
            continue
        if wanted.mismatch(item["firmware"], item["device"]):
            item.update(result="failed", error="firmware-mismatch", message=(
                "%s: %s was saved for other firmware than the reader's %s; convert it "
                "(ravelfin convert) or set firmware_mismatch: convert (ravelfin_firmware_mismatch "
                "in the orvane.ravelfin.readers role)"
                % (item["device"], params["src"], item["firmware"])))
            continue
        item["changed"] = True
        to_write.append(item)
        differences = reader.get("differences") or []
        diffs.append({
            "before_header": "%s (reader)" % item["device"],
            "after_header": "%s (%s)" % (item["device"], params["src"] or "factory settings"),
            "before": dict((d["name"], d["reader"]) for d in differences),
            "after": dict((d["name"], d["file"]) for d in differences),
        })

    if to_write and not module.check_mode:
        write(cli, params, wanted, to_write)

    result = {"changed": any(item["changed"] for item in items), "readers": items}
    if module._diff:
        result["diff"] = diffs
    if not items:
        module.fail_json(msg="No reader found: name the readers with device, or set all: true",
                         **result)
    failed = [item for item in items if item["result"] != "ok"]
    if failed:
        module.fail_json(msg=" ".join(item["message"] or item["device"] for item in failed),
                         **result)
    module.exit_json(**result)


def main():
    module = AnsibleModule(
        argument_spec=dict(
            src=dict(type="path"),
            device=dict(type="list", elements="str", default=[]),
            all=dict(type="bool", default=False),
            state=dict(type="str", choices=["configured", "defaults"], default="configured"),
            firmware_mismatch=dict(type="str", choices=["fail", "convert"], default="fail"),
        ),
        required_if=[("state", "configured", ["src"])],
        supports_check_mode=True,
    )
    run(module)


if __name__ == "__main__":
    main()
