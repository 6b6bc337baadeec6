#!/usr/bin/env bash
# Measures tallywick-bench beside `find | cat | wc -l` on the same folders, in one run.
#   bench/tree-bench.sh [BUILD_DIR] [DIR...]
# Without folders it measures /usr/include and a generated tree of 100,000 small files.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
shift || true
bench=$build/bench/tallywick-bench
conf=$here/conf/conf.xml

dirs=("$@")
if [ ${#dirs[@]} -eq 0 ]; then
  tree=/tmp/tallywick-100k
  if [ ! -f "$tree/.complete" ]; then
    rm -rf "$tree"
    python3 "$here/bench/make-tree.py" "$tree" 1000
  fi
  dirs=(/usr/include "$tree")
fi

peak() { /usr/bin/time -f "%M" "$@" 2>&1 >/dev/null | tail -1; }

for dir in "${dirs[@]}"; do
  # Warm the page cache, then time each side three times and keep the best.
  find "$dir" -type f -exec cat {} + > /dev/null
  best_t=999999; best_c=999999
  for _ in 1 2 3; do
    s=$(date +%s.%N); "$bench" "$dir" --conf "$conf" > /tmp/tallywick-bench.out; e=$(date +%s.%N)
    best_t=$(echo "if ($e - $s < $best_t) $e - $s else $best_t" | bc)
    s=$(date +%s.%N); find "$dir" -type f -exec cat {} + | wc -l > /dev/null; e=$(date +%s.%N)
    best_c=$(echo "if ($e - $s < $best_c) $e - $s else $best_c" | bc)
  done
  mem=$(peak "$bench" "$dir" --conf "$conf")
  echo "$dir: $(cat /tmp/tallywick-bench.out)"
  printf '  tallywick-bench %.3f s, find|cat|wc -l %.3f s, ratio %.2f, peak memory %d MB\n' \
    "$best_t" "$best_c" "$(echo "$best_t / $best_c" | bc -l)" "$((mem / 1024))"
done
