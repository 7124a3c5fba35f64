#!/usr/bin/env python3
"""Packs the payload of setup: the members in table order, concatenated.

Member 1 is always the freshly built PIXBASE.dll. The other members come
from --payload-dir when given (every one must be there); otherwise each is a
generated placeholder of the table's size whose first bytes say so.

Writes the payload (the bytes of resource 1300), the PayloadTable source
derived from the packed files, and a copy of every packed member (for the
end-to-end tests to compare against).
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


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--pixbase", required=True)
    parser.add_argument("--payload-dir", default="")
    parser.add_argument("--member", action="append", required=True,
                        help="NAME:SIZE in table order; SIZE is the placeholder size")
    parser.add_argument("--payload", required=True)
    parser.add_argument("--table", required=True)
    parser.add_argument("--template", required=True)
    parser.add_argument("--members-dir", required=True)
    args = parser.parse_args()

    members = []
    for index, entry in enumerate(args.member, start=1):
        name, size = entry.rsplit(":", 1)
        if index == 1:
            path = args.pixbase
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
        members.append((name, data))

    os.makedirs(args.members_dir, exist_ok=True)
    with open(args.payload + ".tmp", "wb") as out:
        for name, data in members:
            out.write(data)
            with open(os.path.join(args.members_dir, name), "wb") as copy:
                copy.write(data)
    os.replace(args.payload + ".tmp", args.payload)
    with open(os.path.join(args.members_dir, "order.txt"), "w") as order:
        order.write("".join(name + "\n" for name, _ in members))

    rows = "\n".join('    {"%s", %du},' % (name, len(data)) for name, data in members)
    total = sum(len(data) for _, data in members)
    if total > 0xFFFFFFFF:
        sys.exit("payload: %d bytes do not fit a 32-bit size" % total)
    with open(args.template) as f:
        text = f.read()
    text = (text.replace("@PAYLOAD_TABLE_ROWS@", rows)
                .replace("@PAYLOAD_COUNT@", str(len(members)))
                .replace("@PAYLOAD_TOTAL@", str(total)))
    with open(args.table, "w") as f:
        f.write(text)


if __name__ == "__main__":
    main()
