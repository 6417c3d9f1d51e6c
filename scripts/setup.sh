#!/usr/bin/env bash
# Installs what Mirandel needs to build, run and test on Debian 12, and nothing twice:
# Debian packages only when one is missing, the pinned svgo only when the lock file changed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(cmake ninja-build g++ pkg-config
          qt6-base-dev qt6-svg-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
          qt6-translations-l10n libgl-dev librsvg2-dev zlib1g-dev libbrotli-dev zsh fonts-dejavu-core
          brotli desktop-file-utils appstream shared-mime-info dpkg-dev file)
# Tools only some targets use (clang-tidy for `make tidy`) come as arguments: they weigh more
# than all the rest, and a build or a test run does without them.
packages+=("$@")
command -v npm >/dev/null 2>&1 || packages+=(nodejs npm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing Debian packages: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The pinned svgo (and the icon set the benchmarks use) from the npm registry.
stamp="$root/tools/node_modules/.package-lock.json"
if [ ! -f "$stamp" ] || [ "$root/tools/package-lock.json" -nt "$stamp" ]; then
  echo "Installing the pinned svgo"
  (cd "$root/tools" && npm ci --no-audit --no-fund --loglevel=error)
fi
