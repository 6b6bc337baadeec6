#!/usr/bin/env bash
# Times a counting run through the main window beside the headless engine on a generated
# tree of 50,000 files, under a virtual display.
#   bench/window-bench.sh [BUILD_DIR] [TREE]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
tree=${2:-/tmp/tallywick-50k}
if [ ! -f "$tree/.complete" ]; then
  rm -rf "$tree"
  python3 - "$tree" <<'PY'
import os, sys
root = sys.argv[1]
body = "".join("int f%d(int x) { return x + %d; } // add\n/* note */\n\n" % (i, i) for i in range(12))
for d in range(500):
    folder = os.path.join(root, "m%03d" % (d // 50), "d%04d" % d)
    os.makedirs(folder)
    for f in range(100):
        with open(os.path.join(folder, "f%03d.c" % f), "w") as out:
            out.write(body)
PY
  touch "$tree/.complete"
fi
xvfb-run -a -s '-screen 0 1280x900x24' "$build/bench/window-bench" "$tree"
