#!/usr/bin/env bash
# Every text the sources hand to tr() must have a finished German translation. lupdate merges the
# current sources into a scratch copy of mirandel_de.ts; any message it marks unfinished is a text
# that is new or changed since the file was last translated.
#   check_translations.sh <lupdate> <source root>
# To bring the real file up to date: cmake --build <build dir> --target mirandel_translations_lupdate
set -euo pipefail
lupdate=$1
root=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$root/translations/mirandel_de.ts" "$tmp/"
"$lupdate" -silent -no-obsolete -locations none "$root/src" -ts "$tmp/mirandel_de.ts"
count=$(grep -c 'type="unfinished"' "$tmp/mirandel_de.ts" || true)
if [ "$count" -ne 0 ]; then
  echo "$count German translation(s) missing or unfinished:"
  # Show the source text that precedes each unfinished translation.
  grep -B3 'type="unfinished"' "$tmp/mirandel_de.ts" | grep '<source>' | sed 's/^ */  /'
  exit 1
fi
echo "German translation complete"
