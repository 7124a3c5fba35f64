#!/usr/bin/env python3
"""Checks that the includes of setup run one way, down its layers.

From the bottom:
  platform   the platform seam (platform/*.h) and its two sides
             (platform/win32, platform/simulated)
  common     the state record, the bounded text helpers, the path helpers
  log        the settings file and its uninstall log
  payload    the copy engine          shortcuts   the program group, links
  ui         the dialogs
  driver     the entry point and spine of the run
A file may include headers of its own folder and of folders below it;
payload and shortcuts stand side by side and do not include each other.
resources/resource_ids.h (plain #defines shared with the resource scripts)
may be included from anywhere. Prints each include that runs against the
rule and fails when there is one.

Usage: check_layers.py SETUP_DIRECTORY
"""
import os
import sys

sys.dont_write_bytecode = True  # no cache files in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
from include_rules import layer_fault, quoted_includes, verdict  # noqa: E402

RANK = {"platform": 0, "common": 1, "log": 2, "payload": 3, "shortcuts": 3, "ui": 4,
        "driver": 5}
ANYWHERE = {"resources"}


def fault_of(folder, named):
    """What is wrong with a setup file's include, or None."""
    target = named.split("/")[0]
    if target in ANYWHERE or target == folder:
        return None
    if "/" not in named:
        return "names no layer"
    return layer_fault(RANK, folder, target, "setup")


def main():
    root = sys.argv[1]
    faults = []
    checked = 0
    for folder, _, where, named in quoted_includes(root, RANK, (".h", ".cpp")):
        checked += 1
        fault = fault_of(folder, named)
        if fault is not None:
            faults.append("%s %s" % (where, fault))
    return verdict(faults, checked, root)


if __name__ == "__main__":
    sys.exit(main())
