#!/usr/bin/env bash
# Fails when a catalog lacks a text that the sources pass through the translation lookup.
set -euo pipefail
top=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
find "$top/src" -name '*.cpp' -o -name '*.h' | sort |
  xargs xgettext -C -k_ -kwxTRANSLATE -kwxGetTranslation --from-code=UTF-8 -o "$work/all.pot"
status=0
for po in "$top"/locales/*/Tallywick.po; do
  if missing=$(msgcmp "$po" "$work/all.pot" 2>&1); then :; else
    echo "$po lacks texts:"; echo "$missing" | grep 'used but not defined' || echo "$missing"
    status=1
  fi
  msgfmt -c --check-format -o /dev/null "$po" || status=1
done
exit $status
