#!/usr/bin/env bash
# The English translation is complete and current: lupdate, run over the window program's
# sources into a scratch copy of translations/tulmera_en.ts, finds no text without English
# (unfinished), no entry whose text is gone (obsolete, vanished), and no tr() it cannot place
# in its class (such a text would be looked up under a context the program never asks for,
# and stay Spanish). Usage: translations_test.sh LUPDATE SOURCE_DIR
set -euo pipefail
lupdate=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source/translations/tulmera_en.ts" "$work/tulmera_en.ts"
if ! "$lupdate" -locations none -I "$source/src" "$source/src/app" -ts "$work/tulmera_en.ts" \
    >"$work/log" 2>&1; then
  cat "$work/log"
  echo "FAIL: lupdate did not run" >&2
  exit 1
fi
status=0
if grep -E 'unknown namespace/class|lacks Q_OBJECT' "$work/log"; then
  echo "FAIL: texts lupdate cannot place in their class (above)" >&2
  status=1
fi
if grep -nE 'type="(unfinished|obsolete|vanished)"' "$work/tulmera_en.ts"; then
  echo "FAIL: entries of tulmera_en.ts without English or without a text (above);" \
       "run the update_translations target and translate them" >&2
  status=1
fi
exit $status
