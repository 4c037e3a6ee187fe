# -*- coding: utf-8 -*-
"""Prints the whole run as one JSON document, shaped as ansible.posix.json prints it.

Debian's ansible-core ships no JSON callback (ansible.posix comes with the full `ansible`
package, some 250 MB of collections); the tests need only this.
"""

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
name: json_results
type: stdout
short_description: the run as one JSON document
description: Plays, their tasks with each host's result, and the stats per host.
"""

import json

from ansible.plugins.callback import CallbackBase


class CallbackModule(CallbackBase):
    CALLBACK_VERSION = 2.0
    CALLBACK_TYPE = "stdout"
    CALLBACK_NAME = "json_results"

    def __init__(self):
        super(CallbackModule, self).__init__()
        self.plays = []

    def v2_playbook_on_play_start(self, play):
        self.plays.append({"play": {"name": play.get_name()}, "tasks": []})

    def v2_playbook_on_task_start(self, task, is_conditional):
        self.plays[-1]["tasks"].append({"task": {"name": task.get_name()}, "hosts": {}})

    def v2_playbook_on_handler_task_start(self, task):
        self.v2_playbook_on_task_start(task, False)

    def _record(self, result, **status):
        host = result._host.get_name()
        self.plays[-1]["tasks"][-1]["hosts"][host] = dict(result._result, **status)

    def v2_runner_on_ok(self, result, **kwargs):
        self._record(result)

    def v2_runner_on_failed(self, result, ignore_errors=False):
        self._record(result, failed=True)

    def v2_runner_on_skipped(self, result):
        self._record(result, skipped=True)

    def v2_runner_on_unreachable(self, result):
        self._record(result, unreachable=True)

    def v2_playbook_on_stats(self, stats):
        hosts = sorted(stats.processed.keys())
        summary = dict((h, stats.summarize(h)) for h in hosts)
        self._display.display(json.dumps({"plays": self.plays, "stats": summary}, indent=2,
                                          sort_keys=True, default=str))
