#!/usr/bin/env python3
"""Writes the simulated machine's string tables from the resource scripts.

Reads the ids of resource_ids.h and the STRINGTABLE of each language file
given (lang/en-US.rc, lang/zh-CN.rc: UTF-8, as windres reads them) and
writes a C++ source with one table per language, each text in the ANSI code
page that Windows answers LoadStringA with for that language: 1252 for
English, 936 (GBK) for Chinese. Characters the code page lacks become '?',
as the system's conversion makes them.
"""
import argparse
import os
import re
import sys

CODE_PAGES = {"en-US": 1252, "zh-CN": 936}
ESCAPES = {"n": "\n", "t": "\t", "r": "\r", "\\": "\\", '"': '"', "a": "\a"}


def read_ids(header):
    ids = {}
    for line in open(header, encoding="utf-8"):
        match = re.match(r"\s*#define\s+(\w+)\s+(\d+)\b", line)
        if match:
            ids[match.group(1)] = int(match.group(2))
    return ids


def unquote(text, where):
    result = []
    i = 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text) and text[i + 1] in ESCAPES:
            result.append(ESCAPES[text[i + 1]])
            i += 2
        elif c == '"' and i + 1 < len(text) and text[i + 1] == '"':
            result.append('"')
            i += 2
        elif c == '"':
            sys.exit("%s: stray quote" % where)
        else:
            result.append(c)
            i += 1
    return "".join(result)


def read_strings(path, ids):
    strings = {}
    inside = False
    for number, line in enumerate(open(path, encoding="utf-8"), start=1):
        stripped = line.strip()
        if stripped == "STRINGTABLE":
            inside = True
            continue
        if not inside or stripped in ("BEGIN", "{", ""):
            continue
        if stripped in ("END", "}"):
            inside = False
            continue
        match = re.match(r'(\w+)\s*,?\s*"(.*)"$', stripped)
        where = "%s:%d" % (path, number)
        if not match:
            sys.exit("%s: not a string-table line" % where)
        name = match.group(1)
        key = int(name) if name.isdigit() else ids.get(name)
        if key is None:
            sys.exit("%s: unknown id %s" % (where, name))
        strings[key] = unquote(match.group(2), where)
    return strings


def c_literal(data):
    out = []
    for byte in data:
        if 0x20 <= byte < 0x7F and byte not in (ord('"'), ord("\\"), ord("?")):
            out.append(chr(byte))
        else:
            out.append("\\%03o" % byte)
    return '"' + "".join(out) + '"'


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--ids", required=True)
    parser.add_argument("--output", required=True)
    parser.add_argument("languages", nargs="+")
    args = parser.parse_args()
    ids = read_ids(args.ids)
    lines = [
        "// Generated from setup/resources/lang/*.rc by string_tables.py; do not edit.",
        '#include "platform/simulated/string_tables.h"',
        "",
        "namespace setup::simulated {",
        "",
        "std::map<unsigned, std::map<int, std::string>> GeneratedStringTables() {",
        "  return {",
    ]
    for path in args.languages:
        language = os.path.splitext(os.path.basename(path))[0]
        if language not in CODE_PAGES:
            sys.exit("%s: no code page known for language %s" % (path, language))
        code_page = CODE_PAGES[language]
        lines.append("      {%du, {" % code_page)
        for key, text in sorted(read_strings(path, ids).items()):
            data = text.encode("cp%d" % code_page, errors="replace")
            lines.append("          {%d, std::string(%s, %d)}," % (key, c_literal(data), len(data)))
        lines.append("      }},")
    lines += ["  };", "}", "", "}  // namespace setup::simulated", ""]
    text = "\n".join(lines)
    if not os.path.exists(args.output) or open(args.output).read() != text:
        with open(args.output, "w") as f:
            f.write(text)


if __name__ == "__main__":
    main()
