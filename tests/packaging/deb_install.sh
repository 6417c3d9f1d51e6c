#!/usr/bin/env bash
# Installs the built .deb the way a user would, starts the installed program with two SVG files
# and a folder on its command line, checks through its accessibility tree (read by a preloaded
# probe, so the release binary stays untouched) that the main window lists them, checks that the
# package brings svgo and that the installed program, with no svgo on PATH and a fresh home,
# optimizes a file with it, then purges the package and checks that nothing it installed is left.
#   deb_install.sh <folder with mirandel_*.deb> <probe library>
# Exit status 77 (a skip for CTest) when it cannot run here: not root, or no package built.
set -euo pipefail
package_dir=$1
probe=$2

skip() { echo "skipped: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
deb=$(ls -t "$package_dir"/mirandel_*.deb 2>/dev/null | head -n1 || true)
if [ -z "$deb" ]; then
  # CI builds the package before the tests; there a missing package is a failure, not a skip.
  [ -z "${CI:-}" ] || { echo "no package in $package_dir"; exit 1; }
  skip "no package in $package_dir (make test builds it)"
fi
if dpkg-query -W -f='${Status}' mirandel 2>/dev/null | grep -q "install ok installed"; then
  skip "mirandel is already installed on this machine; not touching it"
fi

tmp=$(mktemp -d)
purge() { DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq mirandel >/dev/null 2>&1 || true; }
trap 'purge; rm -rf "$tmp"' EXIT

echo "installing $deb"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$(realpath "$deb")" \
  >"$tmp/apt.log" 2>&1 || { cat "$tmp/apt.log"; exit 1; }
dpkg-query -L mirandel >"$tmp/files"

for f in /usr/bin/mirandel /usr/share/applications/app.mirandel.Mirandel.desktop \
         /usr/share/metainfo/app.mirandel.Mirandel.metainfo.xml \
         /usr/share/icons/hicolor/scalable/apps/app.mirandel.Mirandel.svg \
         /usr/share/icons/hicolor/48x48/apps/app.mirandel.Mirandel.png \
         /usr/share/mime/packages/app.mirandel.Mirandel.xml; do
  grep -qx "$f" "$tmp/files" || { echo "the package does not install $f"; exit 1; }
done
desktop-file-validate /usr/share/applications/app.mirandel.Mirandel.desktop
shipped=/usr/lib/mirandel/node_modules/.bin/svgo
grep -qx "$shipped" "$tmp/files" || { echo "the package does not install $shipped"; exit 1; }
[ "$("$shipped" --version)" = "$(node -p "require('$(dirname "$0")/../../tools/package.json').dependencies.svgo")" ] \
  || { echo "the shipped svgo is not the pinned version"; exit 1; }
# The mime database trigger ran: the row-drag type is known to the system.
grep -qx 'application/x-app.mirandel.svgfile' /usr/share/mime/types \
  || { echo "the drag type is not in the mime database"; exit 1; }

svg='<svg xmlns="http://www.w3.org/2000/svg" width="8" height="8"><rect width="8" height="8"/></svg>'
mkdir -p "$tmp/home" "$tmp/more"
echo "$svg" >"$tmp/alpha-icon.svg"
echo "$svg" >"$tmp/beta-icon.svg"
echo "$svg" >"$tmp/more/gamma-icon.svg"
echo "starting the installed mirandel"
status=0
HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" QT_QPA_PLATFORM=offscreen \
  MIRANDEL_PROBE_EXPECT="alpha-icon|beta-icon|gamma-icon" \
  timeout 60 env LD_PRELOAD="$probe" /usr/bin/mirandel \
  "$tmp/alpha-icon.svg" "$tmp/beta-icon.svg" "$tmp/more/" || status=$?
[ "$status" -eq 0 ] || { echo "the main window did not list the files (status $status)"; exit 1; }

echo "optimizing with the shipped svgo, nothing on PATH but the system's folders"
mkdir -p "$tmp/fresh" "$tmp/work"
echo "$svg" >"$tmp/work/delta-icon.svg"
printf 'export PATH=/usr/bin:/bin\n' >"$tmp/fresh/.zprofile"
if PATH=/usr/bin:/bin command -v svgo >/dev/null; then skip "an svgo is installed system-wide"; fi
status=0
env -i PATH=/usr/bin:/bin HOME="$tmp/fresh" XDG_CONFIG_HOME="$tmp/fresh/.config" \
  QT_QPA_PLATFORM=offscreen MIRANDEL_PROBE_EXPECT="delta-icon" MIRANDEL_PROBE_PRESS=optimizeButton \
  MIRANDEL_PROBE_REFUSE="Wake up, Neo" MIRANDEL_PROBE_TIMEOUT_MS=60000 \
  timeout 90 env LD_PRELOAD="$probe" /usr/bin/mirandel "$tmp/work/delta-icon.svg" || status=$?
[ "$status" -eq 0 ] || { echo "the optimize run did not end well (status $status)"; exit 1; }
if [ "$(cat "$tmp/work/delta-icon.svg")" = "$svg" ]; then
  echo "the file was not optimized"; exit 1
fi
grep -q '<svg' "$tmp/work/delta-icon.svg" || { echo "the optimized file is no SVG"; exit 1; }

echo "purging"
DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq mirandel >"$tmp/apt.log" 2>&1 \
  || { cat "$tmp/apt.log"; exit 1; }
left=0
while IFS= read -r f; do
  if [ -e "$f" ] && [ ! -d "$f" ]; then echo "left behind: $f"; left=1; fi
done <"$tmp/files"
[ "$left" -eq 0 ] || exit 1
! grep -qx 'application/x-app.mirandel.svgfile' /usr/share/mime/types \
  || { echo "the drag type stayed in the mime database"; exit 1; }
echo "package installs, lists the files it was given, optimizes with its own svgo and purges cleanly"
