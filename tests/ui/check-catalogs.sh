#!/usr/bin/env bash
# Fails when a catalog lacks a text that the sources pass through the translation lookup, or
# a "$tr:text$" field of the page templates.
set -euo pipefail
top=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
find "$top/src" -name '*.cpp' -o -name '*.h' | sort |
  xargs xgettext -C -k_ -kwxTRANSLATE -kwxGetTranslation -kwxPLURAL:1,2 --from-code=UTF-8 -o "$work/src.pot"
status=0
# A field that does not close on its own line would be missed here.
if grep -Hn '\$tr:[^$]*$' "$top"/conf/*.html; then
  echo 'a $tr: field above does not close on its line'; status=1
fi
{
  printf 'msgid ""\nmsgstr "Content-Type: text/plain; charset=UTF-8\\n"\n'
  { grep -oh '\$tr:[^$]*\$' "$top"/conf/*.html || true; } |
    sed 's/^\$tr://; s/\$$//; s/[\\"]/\\&/g' | sort -u |
    while IFS= read -r text; do printf '\nmsgid "%s"\nmsgstr ""\n' "$text"; done
} >"$work/html.pot"
msgcat --use-first -o "$work/all.pot" "$work/html.pot" "$work/src.pot"
for po in "$top"/locales/*/Tallywick.po; do
  if missing=$(msgcmp "$po" "$work/all.pot" 2>&1); then :; else
    echo "$po lacks texts:"
    # msgcmp names the line that ends each missing text in the template; show the text.
    echo "$missing" | sed -n 's/^[^:]*:\([0-9]*\): this message is used but not defined.*/\1/p' |
      while read -r end; do
        awk -v end="$end" 'NR == end { printf "%s", text; exit }
                           /^msgid / { text = "" } { text = text $0 "\n" }' "$work/all.pot"
      done
    echo "$missing" | grep -q 'used but not defined' || echo "$missing"
    status=1
  fi
  msgfmt -c --check-format -o /dev/null "$po" || status=1
done
exit $status
