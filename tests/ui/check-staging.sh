#!/usr/bin/env bash
# A rebuild stages the program's own templates and pictures afresh but keeps a rules file that
# the program saved in the run folder; a run folder without one gets the shipped rules.
set -euo pipefail
top=$1
run=$(mktemp -d)
trap 'rm -rf "$run"' EXIT
stage() { cmake -DSOURCE_DIR="$top" -DRUN_DIR="$run" -P "$top/cmake/StageRun.cmake"; }

stage
# file in the run folder | after the user's (or a stray) change, a rebuild gives
cases=(
  "conf/conf.xml            kept"
  "conf/report_tpl.html     shipped"
  "conf/corvane_index.html  shipped"
  "img/Add_s16_01.png       shipped"
)
for row in "${cases[@]}"; do
  read -r file _ <<<"$row"
  printf '<rules><edited/></rules>\n' >"$run/$file"
  touch -d '2001-01-01' "$run/$file"
done
stage
status=0
for row in "${cases[@]}"; do
  read -r file want <<<"$row"
  if cmp -s "$top/$file" "$run/$file"; then got=shipped; else got=kept; fi
  [ "$got" = "$want" ] || { echo "$file: $got after a rebuild, expected $want"; status=1; }
done
rm "$run/conf/conf.xml"
stage
cmp -s "$top/conf/conf.xml" "$run/conf/conf.xml" || { echo "a missing rules file was not staged"; status=1; }
[ ! -e "$run/img/src" ] || { echo "the pictures' sources were staged"; status=1; }
exit $status
