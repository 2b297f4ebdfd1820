#!/usr/bin/env bash
# Prepares the template Wine prefix that the end-to-end tests copy, once:
# wineboot takes about 15 s, a copy well under one. Safe to run again; it
# rebuilds the template only when Wine or the settings below change.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/wine/lib.sh
source "$here/../tests/wine/lib.sh"

template=$QLN_TEMPLATE
stamp="quillon template 1, $(wine --version)"
if [[ -f $template/.quillon-template && $(<"$template/.quillon-template") == "$stamp" ]]; then
  echo "Wine template prefix is ready: $template"
  exit 0
fi

echo "Preparing the Wine template prefix in $template"
mkdir -p "$(dirname "$template")"
work=$(mktemp -d "$template.new.XXXXXX")
display_file=$(mktemp)
finish() {
  wineserver -k 2>/dev/null || true
  qln_stop_xvfb
  rm -rf "$work" "$display_file"
}
trap finish EXIT

export WINEPREFIX=$work WINEARCH=win64
qln_start_xvfb "$display_file"
wineboot -i
# A plain `wine app.exe` then lands in the virtual desktop and returns the
# program's own exit code.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f
# A crashing program must fail its test, not wait for someone to close a dialog.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
# The registry reaches the disk when the server exits.
wineserver -w
echo "$stamp" >"$work/.quillon-template"

# Replace the template in one step, so a test never copies half of one.
old=
if [[ -e $template ]]; then
  old=$(mktemp -d "$template.old.XXXXXX")
  mv "$template" "$old/"
fi
# -T: when a run beside this one got there first, keep its template.
mv -T "$work" "$template" 2>/dev/null || echo "Another run has just made the template; using it"
[[ -z $old ]] || rm -rf "$old"
echo "Wine template prefix is ready: $template"
