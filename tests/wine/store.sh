#!/usr/bin/env bash
# Profile storage against the file system under Wine: persist replaces the
# profile through a temporary file, and into a locked or read-only profile it
# fails without touching the old file or leaving a temporary one behind.
#
# Usage: store.sh WINDOWS_BUILD_DIR
set -euo pipefail
source "$(dirname "$0")/lib.sh"
qln_begin "$1"

mkdir -p "$QLN_TMP/store"
qln_run 60 "$QLN_BUILD/tests/wine/store_test.exe" "$(qln_winpath "$QLN_TMP/store")"
tr -d '\r' <"$QLN_OUT" >&2
qln_expect_code 0 "profile storage" || true
qln_end
