#!/usr/bin/env python3
"""Three tills on this machine, each with readers of its own that outlive the plays.

alpha has one sound reader; beta one with other firmware than the file's, converted;
gamma one sound reader and one that answers NAK to everything. The plays run as
ansible-playbook runs them for a shop chain, with the JSON callback, and each run is checked
from its output and by reading the readers back with ravelfin itself.

usage: three_hosts_test.py RAVELFIN COLLECTIONS_DIR WORK_DIR
"""

import json
import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
RAVELFIN, COLLECTIONS, WORK = sys.argv[1:4]
FAILURES = []
RUNS = []


def check(condition, what):
    if not condition:
        FAILURES.append(what)
        print("FAILED: " + what, file=sys.stderr)


def ravelfin(*args):
    return subprocess.run([RAVELFIN] + list(args), capture_output=True, text=True)


def serve_reader(firmware, *extra):
    """Starts a simulated serial reader; returns its process and its terminal's path."""
    process = subprocess.Popen([RAVELFIN, "simulate", "--pty", "--firmware", firmware] +
                               list(extra), stdout=subprocess.PIPE, text=True)
    return process, process.stdout.readline().strip()


def playbook(name, *options):
    env = dict(os.environ,
               PATH=os.path.dirname(RAVELFIN) + os.pathsep + os.environ["PATH"],
               HOME=os.path.join(WORK, "home"),
               ANSIBLE_COLLECTIONS_PATH=COLLECTIONS,
               ANSIBLE_STDOUT_CALLBACK="json_results",
               ANSIBLE_CALLBACK_PLUGINS=os.path.join(HERE, "callback_plugins"),
               ANSIBLE_LOCAL_TEMP=os.path.join(WORK, "tmp"),
               ANSIBLE_REMOTE_TEMP=os.path.join(WORK, "tmp"),
               ANSIBLE_RETRY_FILES_ENABLED="false",
               ANSIBLE_FORKS="3")
    started = time.monotonic()
    run = subprocess.run(["ansible-playbook", "-i", os.path.join(WORK, "inventory.json"),
                          os.path.join(HERE, name)] + list(options),
                         capture_output=True, text=True, env=env)
    print("%s %s: %.1f s" % (name, " ".join(options), time.monotonic() - started))
    RUNS.append(run.stdout)
    with open(os.path.join(WORK, "run-%d.json" % len(RUNS)), "w") as f:
        f.write(run.stdout)
    try:
        return json.loads(run.stdout)
    except ValueError:
        sys.exit("ansible-playbook printed no JSON:\n" + run.stdout + run.stderr)


def task(output, name, host):
    for play in output["plays"]:
        for t in play["tasks"]:
            if t["task"]["name"].split(" : ")[-1] == name and host in t["hosts"]:
                return t["hosts"][host]
    return {}


def main():
    if shutil.which("ansible-playbook") is None:
        print("SKIPPED: ansible-playbook is not installed (scripts/install-deps.sh)")
        sys.exit(77)
    shutil.rmtree(WORK, ignore_errors=True)
    for folder in ("home", "tmp"):
        os.makedirs(os.path.join(WORK, folder))
    shop = os.path.join(WORK, "shop.cfs2")
    other = os.path.join(WORK, "other.cfs2")
    ravelfin("new", shop, "--firmware", "V4.30", "--interface", "rs232")
    ravelfin("set", shop, "TerminalType=0x35")
    shutil.copy(shop, other)
    ravelfin("set", other, "Track1Prefix=\\x02")

    readers = {"alpha": [serve_reader("V4.30")], "beta": [serve_reader("V4.31")],
               "gamma": [serve_reader("V4.30"), serve_reader("V4.30", "--fault", "nak")]}
    try:
        hosts = dict((host, {"ravelfin_devices": ["rs232:" + path for _, path in served],
                             "ravelfin_config_dest": os.path.join(WORK, host, "readers.cfs2")})
                     for host, served in readers.items())
        hosts["beta"]["ravelfin_firmware_mismatch"] = "convert"
        shared = {
            "ansible_connection": "local",
            "ansible_python_interpreter": sys.executable,
            "ravelfin_all": False,
            "ravelfin_udev_rule": "",
            "ravelfin_config_src": shop,
            "other_file": other,
        }
        with open(os.path.join(WORK, "inventory.json"), "w") as f:
            json.dump({"tills": {"hosts": hosts, "vars": shared}}, f)
        run_plays(readers)
    finally:
        for served in readers.values():
            for process, _ in served:
                process.terminate()
                process.wait()
    if FAILURES:
        sys.exit("%d checks failed" % len(FAILURES))


def run_plays(readers):
    first = playbook("site.yml")
    stats = first["stats"]
    for host in ("alpha", "beta"):
        check(stats[host]["changed"] > 0 and stats[host]["failures"] == 0,
              "first run: %s configured without failure: %s" % (host, stats[host]))
    gamma = task(first, "Configure the readers", "gamma")
    answers = gamma.get("readers", [{}, {}])
    check(stats["gamma"]["failures"] == 1, "first run: gamma fails")
    check(answers[0].get("result") == "ok" and answers[0].get("changed"),
          "first run: gamma's sound reader is still configured: %s" % answers[0])

    second = playbook("site.yml")
    for host in ("alpha", "beta", "gamma"):
        check(second["stats"][host]["changed"] == 0, "second run: %s changed=0" % host)

    # The role in check mode compares with the controller's file, not the host's old copy.
    shop, other = [json.loads(ravelfin("show", os.path.join(WORK, f), "--json").stdout)
                   for f in ("shop.cfs2", "other.cfs2")]
    role_checked = playbook("site.yml", "--check", "--diff", "--limit", "alpha",
                            "-e", "ravelfin_config_src=" + os.path.join(WORK, "other.cfs2"))
    configure = task(role_checked, "Configure the readers", "alpha")
    diffs = [(d.get("before"), d.get("after")) for d in configure.get("diff", [])]
    check(configure.get("changed") is True and not configure.get("failed") and
          diffs == [({"Track1Prefix": shop["Track1Prefix"]},
                     {"Track1Prefix": other["Track1Prefix"]})],
          "--check --diff with another file: alpha's reader's Track1Prefix changes: %s" % diffs)

    checked = playbook("check.yml", "--check", "--limit", "alpha,beta")
    refused = task(checked, "Compare with the other file", "beta")
    check(refused.get("failed") and not refused.get("changed") and
          [r.get("error") for r in refused.get("readers", [])] == ["firmware-mismatch"],
          "beta's reader, of other firmware than the file's, is refused: %s" % refused.get("msg"))
    kept = ("TerminalType", "Track1Prefix")
    for host, firmware in (("alpha", "V4.30"), ("beta", "V4.31")):
        info = [(r.get("type"), r.get("firmware"), r.get("model_class"))
                + tuple(r.get("settings", {}).get(k) for k in kept)
                for r in task(checked, "List the readers", host).get("readers", [])]
        check(info == [("rs232", firmware, shop["ModelClass"]) + tuple(shop[k] for k in kept)],
              "reader_info on %s: its reader, still holding the first run's file after --check: %s"
              % (host, info))
    check(task(checked, "Restore the factory settings", "alpha").get("changed") is True,
          "--check: state defaults on alpha's configured reader is reported changed")

    restored, again = [playbook("site.yml", "--limit", "alpha", "-e", "ravelfin_state=defaults")
                       for _ in range(2)]
    check(restored["stats"]["alpha"]["changed"] == 1 and again["stats"]["alpha"]["changed"] == 0,
          "state defaults changes alpha's reader once, then not again: %s, %s"
          % (restored["stats"]["alpha"], again["stats"]["alpha"]))
    factory = os.path.join(WORK, "factory.cfs2")
    ravelfin("new", factory, "--firmware", "V4.30", "--interface", "rs232")
    device = "rs232:" + readers["alpha"][0][1]
    held = ravelfin("--device", device, "diff", factory)
    check(held.returncode == 0, "alpha's reader holds the factory settings: " + held.stdout)


if __name__ == "__main__":
    main()
