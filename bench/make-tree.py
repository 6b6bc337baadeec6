#!/usr/bin/env python3
"""Writes a tree of small C files for the benchmarks: make-tree.py ROOT FOLDERS.

FOLDERS folders of 100 files each, fifty folders to a parent; a file .complete marks a
finished tree, so a tree cut short by an interruption is made again."""
import os
import sys

root, folders = sys.argv[1], int(sys.argv[2])
body = "".join("int f%d(int x) { return x + %d; } // add\n/* note */\n\n" % (i, i) for i in range(12))
for d in range(folders):
    folder = os.path.join(root, "m%03d" % (d // 50), "d%04d" % d)
    os.makedirs(folder)
    for f in range(100):
        with open(os.path.join(folder, "f%03d.c" % f), "w") as out:
            out.write(body)
open(os.path.join(root, ".complete"), "w").close()
