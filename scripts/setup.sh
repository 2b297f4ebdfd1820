#!/usr/bin/env bash
# Installs every Debian package the builds and tests need, then prepares the
# template Wine prefix the end-to-end tests copy. Safe to run again: it asks
# apt only for what is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 python3
  wine wine64 xvfb xdotool imagemagick
  # Wine's X11 driver loads these at run time (raw input needs libxi6); they
  # are only recommended by Wine's packages.
  libxi6 libxrandr2 libxrender1 libxcursor1 libxinerama1 libxcomposite1 libxfixes3 libxxf86vm1
  # Without Wine's own fonts these are what it draws text with, so every
  # machine measures the windows' text the same.
  fonts-dejavu-core fonts-dejavu-extra
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=()
  ((EUID == 0)) || sudo=(sudo)
  "${sudo[@]}" apt-get update
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends "${missing[@]}"
fi

"$(dirname "$0")/wine-prefix.sh"
