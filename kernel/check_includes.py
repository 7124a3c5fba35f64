#!/usr/bin/env python3
"""Checks the kernel's includes: one style, and layers that run one way.

Style: a kernel file names another by its path from kernel/ ("platform/
platform.h", "services/raise.h", "image/registry.h", "pixel/cmyk.h") and a
public header as "pixbase/..."; the named file must exist there. The public
headers (include/pixbase) name each other by their bare names.

Layers, from the bottom:
  platform   the seam (platform/*.h) and its two sides (win32, posix)
  services   allocator, streams, reporting, texts, semaphores, geometry
  image      image records, file I/O, formats, modules, attributes
  pixel      colour spaces, resampling, sample import
A file may include its own folder and the folders below it; image and pixel
stand side by side and do not include each other. The public headers may be
included from anywhere. Prints each include against the rules and fails when
there is one.

Usage: check_includes.py KERNEL_DIRECTORY
"""
import os
import re
import sys

RANK = {"platform": 0, "services": 1, "image": 2, "pixel": 2}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def check_file(root, folder, path, faults):
    checked = 0
    relative = os.path.relpath(path, root)
    for number, line in enumerate(open(path, encoding="utf-8"), start=1):
        match = INCLUDE.match(line)
        if not match:
            continue
        checked += 1
        named = match.group(1)
        where = "%s:%d: \"%s\"" % (relative, number, named)
        if folder == "include":
            if not os.path.isfile(os.path.join(os.path.dirname(path), named)):
                faults.append(where + " is not a public header beside it")
            continue
        target = named.split("/")[0]
        base = os.path.join(root, "include") if target == "pixbase" else root
        if "/" not in named or ".." in named.split("/"):
            faults.append(where + " is not named by its path from kernel/")
        elif not os.path.isfile(os.path.join(base, named)):
            faults.append(where + " names no file of the kernel")
        elif target == "pixbase" or target == folder:
            pass
        elif target not in RANK:
            faults.append(where + " is outside the kernel's layers")
        elif RANK[target] >= RANK[folder]:
            faults.append(where + " is not below %s" % folder)
    return checked


def main():
    root = sys.argv[1]
    faults = []
    checked = 0
    for folder in sorted(list(RANK) + ["include"]):
        for directory, _, files in os.walk(os.path.join(root, folder)):
            for name in sorted(files):
                if name.endswith((".h", ".cpp", ".inc")):
                    checked += check_file(root, folder, os.path.join(directory, name), faults)
    for fault in faults:
        print(fault)
    if checked == 0:
        print("no includes found below %s" % root)
        return 1
    print("%d includes checked, %d against the rules" % (checked, len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
