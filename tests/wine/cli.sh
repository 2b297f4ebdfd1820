#!/usr/bin/env bash
# quillon-cli.exe under Wine answers `check` exactly as the native build does:
# the same exit code and the same lines (a Windows console program ends its
# lines with CR LF, which is all that may differ).
#
# Usage: cli.sh WINDOWS_BUILD_DIR NATIVE_QUILLON_CLI
set -euo pipefail
source "$(dirname "$0")/lib.sh"
qln_begin "$1"
native=$2
cli=$QLN_BUILD/quillon-cli.exe

# same_answer WHAT LINE...: a profile of these lines, checked by both builds.
same_answer() {
  local what=$1
  shift
  local file=$QLN_TMP/profile$((++profiles)).ini
  printf '%s\r\n' "$@" >"$file"
  local code=0
  "$native" check "$file" >"$QLN_TMP/native.out" 2>"$QLN_TMP/native.err" || code=$?
  qln_run 60 "$cli" check "$(qln_winpath "$file")"
  local problems=()
  [[ $QLN_CODE == "$code" ]] || problems+=("exit code $QLN_CODE, native $code")
  local stream
  for stream in out err; do
    local windows native_text
    windows=$(tr -d '\r' <"$QLN_TMP/std$stream")
    native_text=$(<"$QLN_TMP/native.$stream")
    [[ $windows == "$native_text" ]] || problems+=("std$stream '$windows', native '$native_text'")
  done
  if ((${#problems[@]})); then
    qln_fail "$what: ${problems[*]}"
  else
    echo "ok: $what (exit $code: $(cat "$QLN_TMP/native.out" "$QLN_TMP/native.err"))" >&2
  fi
}
profiles=0

same_answer "a valid profile" "[Program]" "Language=en" "[Space]" "H=PageUp" "J=Ctrl+Left" "[MouseMove]"
same_answer "an unknown key on line 7" "[Program]" "Startup=1" "Language=ru" "" "; keys" "[Space]" "H=PgUp"
same_answer "no layers" "# only a comment"
same_answer "the Russian mouse-key message" "[Program]" "Language=ru" "MouseOn=M" "MouseOff=M" "[MouseMove]"
same_answer "the English mouse-key message" "[Program]" "Language=en" "MouseOn=M" "MouseOff=M" "[MouseMove]"
same_answer "an out-of-range number" "[Program]" "DelayMs=1000000000000000000000000000000000000000" "[Space]" "H=Up"

# A path outside the ANSI code page reaches the program intact.
folder=$QLN_TMP/Профили
mkdir -p "$folder"
printf '%s\r\n' "[Space]" "H=PageUp" >"$folder/layers.ini"
qln_run 60 "$cli" check "$(qln_winpath "$folder/layers.ini")"
qln_expect_code 0 "a profile in a folder with a Cyrillic name" || cat "$QLN_ERR" >&2

# A missing file: both fail with one line that names the file.
qln_run 60 "$cli" check "$(qln_winpath "$QLN_TMP/absent.ini")"
qln_expect_code 1 "a missing profile" || true
[[ $(tr -d '\r' <"$QLN_ERR" | wc -l) == 1 && $(<"$QLN_ERR") == *absent.ini* ]] ||
  qln_fail "a missing profile: expected one line naming the file, got '$(<"$QLN_ERR")'"
qln_end
