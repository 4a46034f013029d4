#!/usr/bin/env bash
# Every text the tool's sources mark for translation has its Russian in the .ts file: the
# sources are scanned anew into a copy of it, which must then hold no unfinished entry.
#   check_translations.sh LUPDATE SOURCE_DIR TS_FILE SCRATCH_DIR
set -euo pipefail
lupdate=$1 sources=$2 ts=$3 scratch=$4
rm -rf "$scratch" && mkdir -p "$scratch"
copy=$scratch/$(basename "$ts")
cp "$ts" "$copy"
"$lupdate" -silent -locations none -no-obsolete -extensions cpp,h "$sources" -ts "$copy"
if grep -n -B3 'type="unfinished"' "$copy"; then
  echo "FAIL: texts without a Russian translation (run the target luvir_cli_lupdate and translate them in $ts)"
  exit 1
fi
echo "every text of the tool is translated"
