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
  python3 "$here/bench/make-tree.py" "$tree" 500
fi
xvfb-run -a -s '-screen 0 1280x900x24' "$build/bench/window-bench" "$tree"
