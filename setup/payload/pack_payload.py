#!/usr/bin/env python3
"""Packs the payload of setup and writes its PayloadTable: the one place
the table is made, for both builds.

The members come in table order (--member NAME:SIZE). A member built by this
tree (--built NAME=PATH, e.g. PIXBASE.dll) is always that fresh file; the
others come from --payload-dir when given (every one must be there);
otherwise each is a generated placeholder of the table's size whose first
bytes say so.

With --payload, writes the payload (the bytes of resource 1300), the table
derived from the packed files and, with --members-dir, a copy of every
packed member (for the end-to-end tests to compare against). Without it
(the native build, which has no resource), writes the table of the
placeholder sizes alone.
"""
import argparse
import os
import sys

PLACEHOLDER_MARK = b"LUMAVIEW PAYLOAD PLACEHOLDER\r\n"


def placeholder(index, name, size):
    head = PLACEHOLDER_MARK + (
        "member %d, %s, %d bytes: not the product file\r\n" % (index, name, size)
    ).encode("ascii")
    body = bytearray(head[:size])
    state = 0x9E3779B9 ^ (index * 0x01000193)
    while len(body) < size:
        state = (state * 1103515245 + 12345) & 0xFFFFFFFF
        body.append((state >> 16) & 0xFF)
    return bytes(body)


def write_if_changed(path, text):
    if os.path.exists(path) and open(path).read() == text:
        return
    with open(path, "w") as f:
        f.write(text)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--built", action="append", default=[],
                        help="NAME=PATH: a member built by this tree")
    parser.add_argument("--payload-dir", default="")
    parser.add_argument("--member", action="append", required=True,
                        help="NAME:SIZE in table order; SIZE is the placeholder size")
    parser.add_argument("--payload")
    parser.add_argument("--table", required=True)
    parser.add_argument("--template", required=True)
    parser.add_argument("--members-dir")
    args = parser.parse_args()

    entries = [entry.rsplit(":", 1) for entry in args.member]
    names = [name for name, _ in entries]
    built = {}
    for entry in args.built:
        name, _, path = entry.partition("=")
        if name not in names:
            sys.exit("payload: built member \"%s\" is not in the member list" % name)
        built[name] = path

    members = []
    for index, (name, size) in enumerate(entries, start=1):
        if args.payload is None:
            members.append((name, int(size), None))
            continue
        if name in built:
            path = built[name]
        elif args.payload_dir:
            path = os.path.join(args.payload_dir, name)
            if not os.path.isfile(path):
                sys.exit("payload: member %d \"%s\" is missing from %s"
                         % (index, name, args.payload_dir))
        else:
            path = None
        if path is None:
            data = placeholder(index, name, int(size))
        else:
            with open(path, "rb") as f:
                data = f.read()
        members.append((name, len(data), data))

    if args.payload is not None:
        with open(args.payload + ".tmp", "wb") as out:
            for _, _, data in members:
                out.write(data)
        os.replace(args.payload + ".tmp", args.payload)
    if args.payload is not None and args.members_dir:
        os.makedirs(args.members_dir, exist_ok=True)
        for name, _, data in members:
            with open(os.path.join(args.members_dir, name), "wb") as copy:
                copy.write(data)
        with open(os.path.join(args.members_dir, "order.txt"), "w") as order:
            order.write("".join(name + "\n" for name, _, _ in members))

    rows = "\n".join('    {"%s", %du},' % (name, size) for name, size, _ in members)
    total = sum(size for _, size, _ in members)
    if total > 0xFFFFFFFF:
        sys.exit("payload: %d bytes do not fit a 32-bit size" % total)
    with open(args.template) as f:
        text = f.read()
    text = (text.replace("@PAYLOAD_TABLE_ROWS@", rows)
                .replace("@PAYLOAD_COUNT@", str(len(members)))
                .replace("@PAYLOAD_TOTAL@", str(total)))
    write_if_changed(args.table, text)


if __name__ == "__main__":
    main()
