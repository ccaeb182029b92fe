#!/usr/bin/env python3
"""Decodes the benchmark's record file with Python's Construct and writes one text
line per value in the same layout as Kestrix's text export of bench/records.json,
so that both write the same bytes (CR LF line ends, as the export writes by
default).

The layout is the same as records.ksy. The parser is compiled with Construct's
compile(), its documented fast path, and parses the whole file into containers
before the lines are written, as Construct's parse does.

Usage: construct_export.py DATA OUTPUT [--interpreted]
"""

import sys

from construct import Array, Computed, Int8ub, Int16ub, Int32ub, PascalString, Struct, this

TITLE = "records"
FLUSH_LINES = 1 << 16
BLANK_PREFIX = " " * 12

record = Struct(
    "number" / Int16ub,
    "word" / Int32ub,
    # Construct 2.10 compiles the expression `&` to Python's `and`, so the flags are
    # written with `%`, which gives the same low bits of an unsigned value.
    "kind" / Computed(this.word % 8),
    "level" / Computed((this.word >> 3) % 32),
    "name" / PascalString(Int8ub, "ascii"),
)

record_file = Struct(
    "count" / Int32ub,
    "records" / Array(this.count, record),
)


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    if len(args) != 2:
        sys.exit("usage: construct_export.py DATA OUTPUT [--interpreted]")
    data_path, output_path = args
    parser = record_file if "--interpreted" in sys.argv else record_file.compile()
    parsed = parser.parse_file(data_path)

    with open(output_path, "w", encoding="ascii", newline="\r\n") as out:
        lines = [f"{BLANK_PREFIX}{TITLE}", f"{0:08X}        count    {parsed.count}"]
        if parsed.count > 0:
            lines.append(f"{BLANK_PREFIX}    records")
        # Offsets are counted here: the parsed containers keep none.
        offset = 4
        for index, r in enumerate(parsed.records):
            lines.append(
                f"{BLANK_PREFIX}        [{index}]\n"
                f"{offset:08X}                number    {r.number}\n"
                f"{offset + 2:08X}                word    {r.word}\n"
                f"{BLANK_PREFIX}                kind    {r.kind}\n"
                f"{BLANK_PREFIX}                level    {r.level}\n"
                f"{offset + 6:08X}                name    {r.name}"
            )
            offset += 7 + len(r.name)
            if len(lines) >= FLUSH_LINES:
                out.write("\n".join(lines))
                out.write("\n")
                lines = []
        if lines:
            out.write("\n".join(lines))
            out.write("\n")


if __name__ == "__main__":
    main()
