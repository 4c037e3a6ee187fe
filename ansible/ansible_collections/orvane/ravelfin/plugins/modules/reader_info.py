#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright (c) Orvane
# GNU General Public License v3.0+ (see https://www.gnu.org/licenses/gpl-3.0.txt)

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
---
module: reader_info
short_description: List the Orvane Ravelfin card readers of a host, with their settings
version_added: "1.0.0"
description:
  - Lists the attached readers with their type, index, name, firmware and model class, and
    with I(settings=true) each reader's settings, through the C(ravelfin) command of the
    managed host. Each reader that answers is read once.
options:
  device:
    description:
      - Readers to look at besides the USB readers found, as C(ravelfin --device) takes them;
        a plain serial port is asked for its firmware only when it is named here.
    type: list
    elements: str
    default: []
  settings:
    description:
      - Read each reader's settings too, with the names of C(ravelfin set).
    type: bool
    default: false
attributes:
  check_mode:
    support: full
    description: Only reads.
  diff_mode:
    support: none
    description: Nothing changes.
requirements:
  - the C(ravelfin) package on the managed host
author:
  - Orvane
"""

EXAMPLES = r"""
- name: What readers does each till have?
  orvane.ravelfin.reader_info:
    device:
      - rs232:/dev/ttyS0
    settings: true
  register: tills
"""

RETURN = r"""
readers:
  description: The USB readers attached and the readers named in I(device), in the order C(ravelfin list) shows them.
  returned: always
  type: list
  elements: dict
  contains:
    type:
      description: The interface type, for example C(usb-hid) or C(rs232).
      type: str
    index:
      description: The reader's index among the readers of its type; null for a reader named by its port.
      type: int
    name:
      description: The port name or device path.
      type: str
    firmware:
      description: The firmware version text; empty when the reader could not be opened.
      type: str
    model_class:
      description: 0, 10000 (data editing) or 30000 (data editing and security).
      type: int
    settings:
      description: The reader's settings by name; with I(settings=true) only.
      type: dict
    error:
      description: Why the reader could not be read; only for such a reader.
      type: str
"""

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.orvane.ravelfin.plugins.module_utils.ravelfin_cli import RavelfinCli


def main():
    module = AnsibleModule(
        argument_spec=dict(
            device=dict(type="list", elements="str", default=[]),
            settings=dict(type="bool", default=False),
        ),
        supports_check_mode=True,
    )
    cli = RavelfinCli(module)
    readers = []
    # The model class is known only from the reader's settings: every reader is read, all of
    # them at once by the tool.
    for answer in cli.read_settings(module.params["device"], True):
        kind, _, index = answer.get("device", "").partition(":")
        reader = {"type": kind, "index": int(index) if index.isdigit() else None,
                  "name": answer.get("name"), "firmware": answer.get("firmware")}
        settings = answer.get("settings")
        if answer.get("result") != "ok" or settings is None:
            reader["error"] = answer.get("message")
        else:
            reader["model_class"] = settings.get("ModelClass")
            if module.params["settings"]:
                reader["settings"] = settings
        readers.append(reader)
    module.exit_json(changed=False, readers=readers)


if __name__ == "__main__":
    main()
