"""What the include checks of the kernel and of setup share.

Both trees are cut into layer folders, each with a rank: a file may include
headers of its own folder and of folders ranked below it, and folders of the
same rank stand side by side. This module finds the quoted includes of the
layer folders, judges an include against the ranks, and prints the verdict;
each check adds its own rules on top (kernel/check_includes.py,
setup/check_layers.py).
"""
import os
import re

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def quoted_includes(root, folders, endings):
    """Yields (folder, path, where, named) for each quoted include of the files
    below root/<folder> that end in one of `endings`, in a fixed order; `where`
    is "relative/path:line: "named"" for the messages."""
    for folder in sorted(folders):
        for directory, _, files in sorted(os.walk(os.path.join(root, folder))):
            for name in sorted(files):
                if not name.endswith(endings):
                    continue
                path = os.path.join(directory, name)
                relative = os.path.relpath(path, root)
                with open(path, encoding="utf-8") as text:
                    for number, line in enumerate(text, start=1):
                        match = INCLUDE.match(line)
                        if match:
                            named = match.group(1)
                            yield folder, path, '%s:%d: "%s"' % (relative, number, named), named


def layer_fault(rank, folder, target, tree):
    """Why a file of `folder` may not include a header of `target`, or None
    when it may."""
    if target == folder:
        return None
    if target not in rank:
        return "is outside %s's layers" % tree
    if rank[target] >= rank[folder]:
        return "is not below %s" % folder
    return None


def verdict(faults, checked, root):
    """Prints the faults and the count; the exit status (1 when any include
    broke a rule, or when none was found at all: a wrong root)."""
    for fault in faults:
        print(fault)
    if checked == 0:
        print("no includes found below %s" % root)
        return 1
    print("%d includes checked, %d against the rules" % (checked, len(faults)))
    return 1 if faults else 0
