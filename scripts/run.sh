#!/usr/bin/env bash
# Builds quillon.exe and starts it under Wine. It runs from build/run/, so its
# profile layers.ini is created there, beside the executable. Arguments go to
# quillon.exe (for example --check).
#
# The Wine prefix is your own, kept between runs (QUILLON_WINEPREFIX, by
# default ~/.local/share/quillon/wine), not the tests' template. Without a
# DISPLAY, Quillon runs in a private Xvfb inside Wine's virtual desktop.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows

mkdir -p build/run
cp build/windows/src/main/quillon.exe build/run/

# shellcheck source=tests/wine/lib.sh
source tests/wine/lib.sh
export WINEPREFIX=${QUILLON_WINEPREFIX:-$HOME/.local/share/quillon/wine}
if [[ ! -f $WINEPREFIX/system.reg ]]; then
  echo "Creating the Wine prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  WINEARCH=win64 wineboot -i
fi

desktop=()
if [[ -z ${DISPLAY:-} ]]; then
  display_file=$(mktemp)
  stop() {
    wineserver -k 2>/dev/null || true
    qln_stop_xvfb
    rm -f "$display_file"
  }
  trap stop EXIT
  qln_start_xvfb "$display_file"
  echo "No DISPLAY: running on the private X display $DISPLAY (stop with Ctrl+C)"
  # The virtual desktop gives the tray icon somewhere to live.
  desktop=(explorer "/desktop=Quillon,1024x768")
fi

echo "Starting build/run/quillon.exe"
code=0
wine "${desktop[@]}" build/run/quillon.exe "$@" || code=$?
echo "quillon.exe ended with exit code $code"
exit "$code"
