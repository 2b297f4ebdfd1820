#!/usr/bin/env bash
# The resources quillon.exe carries, read back by Windows itself: the icon
# group every window, the tray and the About box load, and the manifest.
#
# Usage: resources.sh WINDOWS_BUILD_DIR CASE
set -euo pipefail
source "$(dirname "$0")/lib.sh"
qln_begin "$1"
exe=$(qln_winpath "$QLN_BUILD/src/main/quillon.exe")

case $2 in
  icon)
    # Every size at 32 bits, each one loading at its own size with a
    # transparent corner and an opaque middle (the alpha channel survived).
    expected=""
    for side in 16 20 24 32 40 48 64 128 256; do
      expected+="${side}x$side 32bpp: loaded ${side}x$side 32bpp, alpha corner 0 centre 255"$'\n'
    done
    qln_helper icons "$exe" 101
    qln_expect_code 0 "icon group 101 is there" || true
    actual=$(tr -d '\r' <"$QLN_OUT")
    [[ $actual$'\n' == "$expected" ]] || qln_fail "icon group 101: got"$'\n'"$actual"$'\n'"expected"$'\n'"$expected"
    ;;
  manifest)
    qln_helper manifest "$exe"
    qln_expect_code 0 "the manifest is resource 1" || true
    manifest=$(<"$QLN_OUT")
    declare -A wanted=(
      ["runs as the invoking user"]='level="asInvoker"'
      ["Windows Vista"]='{e2011457-1546-43c5-a5fe-008deee3d3f0}'
      ["Windows 7"]='{35138b9a-5d96-4fbd-8e2d-a2440225f93a}'
      ["Windows 8"]='{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}'
      ["Windows 8.1"]='{1f676c76-80e1-4239-95bb-83d0f6d0da78}'
      ["Windows 10"]='{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}'
      ["common controls 6"]='name="Microsoft.Windows.Common-Controls" version="6.0.0.0"'
    )
    for what in "${!wanted[@]}"; do
      if [[ $manifest == *"${wanted[$what]}"* ]]; then
        echo "ok: manifest: $what" >&2
      else
        qln_fail "the manifest does not declare: $what"
      fi
    done
    ;;
  *)
    echo "unknown case $2" >&2
    exit 2
    ;;
esac
qln_end
