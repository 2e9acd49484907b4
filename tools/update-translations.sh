#!/usr/bin/env bash
# Refreshes the translation sources from the code and applies the Chinese
# texts of src/ui/resources/translations/chinese*.tsv (one list per area). Existing translations are
# kept; a text missing from the list stays unfinished (and the translation
# test reports it). English shows each source text as it is, except those
# corrected in english.tsv.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=src/ui/resources/translations
lupdate=$(command -v lupdate || echo /usr/lib/qt5/bin/lupdate)
"$lupdate" -no-obsolete -locations none src -ts $dir/orvalix_en.ts $dir/orvalix_chinese.ts
cat $dir/chinese*.tsv > "${TMPDIR:-/tmp}/orvalix-zh.tsv"
python3 tools/fill-translations.py $dir/orvalix_chinese.ts "${TMPDIR:-/tmp}/orvalix-zh.tsv"
python3 tools/fill-translations.py $dir/orvalix_en.ts $dir/english.tsv --same
