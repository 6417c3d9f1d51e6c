#!/usr/bin/env bash
# The desktop entry and the AppStream metadata must pass the validators desktops and software
# centres use; a file that fails them is ignored or shown without its details.
#   validate_metadata.sh <desktop entry> <metainfo> <mime package>
set -euo pipefail
desktop-file-validate "$1"
appstreamcli validate --no-net "$2"
# update-mime-database reads the package file; it must be well-formed and declare our type.
grep -q '<mime-type type="application/x-app.mirandel.svgfile">' "$3"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/packages"
cp "$3" "$tmp/packages/"
update-mime-database "$tmp" >"$tmp/log" 2>&1 || { cat "$tmp/log"; exit 1; }
# It also notes that the scratch folder is not on the data path; only errors and warnings count.
if grep -iE 'error|warning|invalid' "$tmp/log"; then
  echo "update-mime-database complained about $3"
  exit 1
fi
grep -qx 'application/x-app.mirandel.svgfile' "$tmp/types"
echo "metadata valid"
