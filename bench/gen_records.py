#!/usr/bin/env python3
"""Writes the record file that the benchmark and its peers read.

Layout, all integers big-endian:
    u4 count                      number of records that follow
    count x {
        u2 number
        u4 word                   bits 0-2 and 3-7 are the flags "kind" and "level"
        u1 length
        length bytes of text      ASCII letters and digits: no NUL and no line break,
                                  so every tool prints the same text
    }

The text lengths are 0, 1 or 2 (1 on average), so a record takes 8 bytes on average
and SIZE bytes hold about SIZE / 8 records.

Usage: gen_records.py OUTPUT SIZE_IN_BYTES
The same SIZE always gives the same file (fixed seed).
"""

import random
import struct
import sys

SEED = 20240601
# Records are drawn from a pool of distinct records: building each record in Python
# would take tens of seconds for 256 MiB, drawing from the pool takes about one.
POOL_SIZE = 1 << 16
CHUNK_RECORDS = 1 << 20
ALPHABET = b"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"
AVERAGE_RECORD_BYTES = 8


def make_pool(rng):
    pool = []
    for _ in range(POOL_SIZE):
        length = rng.randrange(3)
        text = bytes(rng.choice(ALPHABET) for _ in range(length))
        pool.append(struct.pack(">HIB", rng.randrange(1 << 16), rng.getrandbits(32), length) + text)
    return pool


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: gen_records.py OUTPUT SIZE_IN_BYTES")
    output, size = sys.argv[1], int(sys.argv[2])
    rng = random.Random(SEED)
    pool = make_pool(rng)
    count = max(0, (size - 4) // AVERAGE_RECORD_BYTES)
    with open(output, "wb") as out:
        out.write(struct.pack(">I", count))
        left = count
        while left:
            n = min(left, CHUNK_RECORDS)
            out.write(b"".join(rng.choices(pool, k=n)))
            left -= n
    print(count)


if __name__ == "__main__":
    main()
