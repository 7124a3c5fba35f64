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
import re
import sys

RANK = {"platform": 0, "common": 1, "log": 2, "payload": 3, "shortcuts": 3, "ui": 4,
        "driver": 5}
ANYWHERE = {"resources"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def main():
    root = sys.argv[1]
    faults = []
    checked = 0
    for folder in sorted(RANK):
        for directory, _, files in os.walk(os.path.join(root, folder)):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(directory, name)
                own = folder
                relative = os.path.relpath(path, root)
                for number, line in enumerate(open(path, encoding="utf-8"), start=1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    checked += 1
                    target = match.group(1).split("/")[0]
                    if target in ANYWHERE or target == own:
                        continue
                    if "/" not in match.group(1):
                        faults.append("%s:%d: \"%s\" names no layer" % (relative, number,
                                                                        match.group(1)))
                    elif target not in RANK:
                        faults.append("%s:%d: \"%s\" is outside setup's layers"
                                      % (relative, number, match.group(1)))
                    elif RANK[target] >= RANK[own]:
                        faults.append("%s:%d: %s includes \"%s\", which is not below it"
                                      % (relative, number, own, match.group(1)))
    for fault in faults:
        print(fault)
    if checked == 0:
        print("no includes found below %s" % root)
        return 1
    print("%d includes checked, %d against the layers" % (checked, len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
