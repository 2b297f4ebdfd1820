#!/usr/bin/env bash
# quillon.exe --check under Wine. The mode answers only with its exit code: it
# shows no window and no message box (either would keep the process alive
# until the time-out) and writes nothing beside the executable.
#
# Usage: check_test.sh WINDOWS_BUILD_DIR CASE
set -euo pipefail
source "$(dirname "$0")/lib.sh"
qln_begin "$1"

# Generous: the first program in a fresh prefix also starts Wine's services.
limit=30

# profile FOLDER LINE...: writes layers.ini with CR LF line ends, as the
# program itself writes it.
profile() {
  local folder=$1
  shift
  printf '%s\r\n' "$@" >"$folder/layers.ini"
}

# Nothing but the listed files may be left in the folder: no profile written,
# no temporary file left behind.
expect_files() {
  local folder=$1 what=$2
  shift 2
  local actual expected
  actual=$(cd "$folder" && ls -A | sort | tr '\n' ' ')
  expected=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
  [[ $actual == "$expected" ]] || qln_fail "$what: the folder holds '$actual', expected '$expected'"
}

# check_exit CODE WHAT LINE...: --check on a profile of these lines.
check_exit() {
  local code=$1 what=$2
  shift 2
  local folder
  folder=$(qln_folder "case$((++cases))")
  profile "$folder" "$@"
  cp "$folder/layers.ini" "$QLN_TMP/before.ini"
  qln_run "$limit" "$folder/quillon.exe" --check
  qln_expect_code "$code" "$what" || true
  cmp -s "$folder/layers.ini" "$QLN_TMP/before.ini" || qln_fail "$what: the profile was changed"
  expect_files "$folder" "$what" quillon.exe layers.ini
}
cases=0

case $2 in
  valid)
    check_exit 0 "the built-in default profile" "${QLN_DEFAULT_PROFILE[@]}"
    check_exit 0 "an English profile with modifiers, timing and a mouse layer" \
      "; mine" "[program]" "Language=EN" "MouseOn=F13" "MouseOff=0" "Timing.0x14=100,1,2000" \
      "[CapsLock]" "H = Ctrl + Shift + Left" "0xBC=Alt+Tab" "[MouseMove]" "J=1"
    check_exit 0 "Russian comments and a profile without a program section" \
      "# Мои слои" "[Space]" "H=PageUp"
    ;;
  invalid)
    check_exit 1 "an unknown key" "${QLN_DEFAULT_PROFILE[@]:0:6}" "H=PgUp"
    check_exit 1 "no layers" "[Program]" "Language=en"
    check_exit 1 "the same key switching the mouse layer on and off" \
      "[Program]" "Language=ru" "MouseOn=M" "MouseOff=M" "[MouseMove]"
    check_exit 1 "an empty layer" "[Space]"
    ;;
  missing)
    # The built-in default profile is checked; nothing is written.
    folder=$(qln_folder missing)
    qln_run "$limit" "$folder/quillon.exe" --check
    qln_expect_code 0 "no profile" || true
    expect_files "$folder" "no profile" quillon.exe
    ;;
  unreadable)
    # A profile that cannot be read is an error, not a reason to use the default.
    folder=$(qln_folder unreadable)
    profile "$folder" "${QLN_DEFAULT_PROFILE[@]}"
    qln_hold_file "$folder/layers.ini"
    qln_run "$limit" "$folder/quillon.exe" --check
    qln_release_file
    qln_expect_code 1 "a profile held open by another program" || true
    expect_files "$folder" "a profile held open" quillon.exe layers.ini
    ;;
  not-check)
    # Only exactly "--check" alone is the check mode. Anything else is a normal
    # run, which with this invalid profile reports it and keeps running (a
    # message box or its window appears) or, while the normal run is not built
    # yet, ends with 0. Exit code 1 without a window would be the check mode.
    for args in "--check extra" "--Check" "extra --check"; do
      folder=$(qln_folder "args$((++cases))")
      profile "$folder" "[Space]" "H=PgUp"
      read -ra argv <<<"$args"
      qln_start "$folder/quillon.exe" "${argv[@]}"
      outcome=
      deadline=$((SECONDS + 30))
      while ((SECONDS < deadline)); do
        if ! kill -0 "$QLN_PID" 2>/dev/null; then
          code=0
          wait "$QLN_PID" || code=$?
          outcome="exit $code"
          break
        fi
        for class in '#32770' Brannock.Quillon.Settings; do
          qln_helper wait-window "$class" 0
          if [[ $QLN_CODE == 0 ]]; then
            outcome=window
            break 2
          fi
        done
        sleep 0.5
      done
      case $outcome in
        "exit 0" | window) echo "ok: '$args' is a normal run ($outcome)" >&2 ;;
        *) qln_fail "'$args': expected a normal run, got ${outcome:-nothing within 30 s}" ;;
      esac
      # Whatever the normal run started ends before the next command line.
      wineserver -k 2>/dev/null || true
      wineserver -w 2>/dev/null || true
    done
    ;;
  *)
    echo "unknown case $2" >&2
    exit 2
    ;;
esac
qln_end
