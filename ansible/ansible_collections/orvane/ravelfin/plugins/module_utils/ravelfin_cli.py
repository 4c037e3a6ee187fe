# -*- coding: utf-8 -*-
# Copyright (c) Orvane
# GNU General Public License v3.0+ (see https://www.gnu.org/licenses/gpl-3.0.txt)

"""Every call the collection makes to the managed host's ``ravelfin`` tool.

The tool owns the reader protocol; the modules only read its ``--json`` answers and exit
statuses (0 success, 1 failed or different, 2 usage error or a reader that did not answer).
Each function returns parsed JSON, or ends the module with the tool's own words when the tool
printed none (a file it could not load, a device name it refused).
"""

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import json

MISSING_TOOL = (
    "The ravelfin command is not installed on this host: install the 'ravelfin' package "
    "(the orvane.ravelfin.readers role does so from a .deb file or an apt name)."
)


class RavelfinCli(object):
    def __init__(self, module):
        self.module = module
        self.binary = module.get_bin_path("ravelfin")
        if self.binary is None:
            module.fail_json(msg=MISSING_TOOL)

    def _json(self, args):
        command = [self.binary] + args + ["--json"]
        # A plain locale: the tool's messages are read by people in the play's output, and
        # its JSON must not depend on the host's language settings.
        rc, out, err = self.module.run_command(command, environ_update={"LC_ALL": "C.UTF-8"})
        try:
            answer = json.loads(out)
        except ValueError:
            answer = None
        if answer is None:
            self.module.fail_json(
                msg=(err.strip() or out.strip() or "ravelfin ended with status %d" % rc),
                cmd=" ".join(command), rc=rc)
        return rc, answer

    @staticmethod
    def targets(devices, all_readers):
        args = []
        for device in devices or []:
            args += ["--device", device]
        if all_readers:
            args.append("--all")
        return args

    def compare(self, src, devices, all_readers):
        """Each reader's result, firmware, `match` and `differences` against the file."""
        return self._json(["diff", src] + self.targets(devices, all_readers))[1]

    def apply(self, src, devices):
        """Writes the file to the readers named that hold other settings."""
        return self._json(["apply", src, "--if-different"] + self.targets(devices, False))[1]

    def restore_defaults(self, devices):
        return self._json(["defaults"] + self.targets(devices, False))[1]

    def _plain(self, args):
        rc, out, err = self.module.run_command([self.binary] + args,
                                               environ_update={"LC_ALL": "C.UTF-8"})
        if rc != 0:
            self.module.fail_json(msg=err.strip() or out.strip(), rc=rc)

    def new_file(self, path, firmware, interface):
        """Saves the factory settings of a reader with this firmware and interface to path."""
        self._plain(["new", path, "--firmware", firmware, "--interface", interface, "--force"])

    def convert(self, src, path, firmware):
        """Saves src to path as a reader with this firmware stores it."""
        self._plain(["convert", src, path, "--firmware", firmware])

    def list_readers(self, devices):
        return self._json(["list"] + self.targets(devices, False))[1]

    def read_settings(self, devices, all_readers):
        return self._json(["report"] + self.targets(devices, all_readers))[1]
