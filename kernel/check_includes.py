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
import sys

sys.dont_write_bytecode = True  # no cache files in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
from include_rules import layer_fault, quoted_includes, verdict  # noqa: E402

RANK = {"platform": 0, "services": 1, "image": 2, "pixel": 2}


def fault_of(root, folder, path, named):
    """What is wrong with a kernel file's include, or None."""
    if folder == "include":
        if not os.path.isfile(os.path.join(os.path.dirname(path), named)):
            return "is not a public header beside it"
        return None
    target = named.split("/")[0]
    base = os.path.join(root, "include") if target == "pixbase" else root
    if "/" not in named or ".." in named.split("/"):
        return "is not named by its path from kernel/"
    if not os.path.isfile(os.path.join(base, named)):
        return "names no file of the kernel"
    if target == "pixbase":
        return None
    return layer_fault(RANK, folder, target, "the kernel")


def main():
    root = sys.argv[1]
    faults = []
    checked = 0
    for folder, path, where, named in quoted_includes(root, list(RANK) + ["include"],
                                                      (".h", ".cpp", ".inc")):
        checked += 1
        fault = fault_of(root, folder, path, named)
        if fault is not None:
            faults.append("%s %s" % (where, fault))
    return verdict(faults, checked, root)


if __name__ == "__main__":
    sys.exit(main())
