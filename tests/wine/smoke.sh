#!/usr/bin/env bash
# quillon.exe --smoke-test: the program checks its own running user interface
# and answers with its exit code. It never shows a message, never writes the
# profile and never touches the Run value, and it runs beside a normal
# instance without disturbing it.
#
# Usage: smoke.sh WINDOWS_BUILD_DIR CASE
set -euo pipefail
source "$(dirname "$0")/lib.sh"
qln_begin "$1"

limit=60
settings=Brannock.Quillon.Settings
probe_exe=$QLN_BUILD/tests/wine/probe.exe
shell_exe=$QLN_BUILD/tests/wine/shell_driver.exe
folder=$(qln_folder check)

# profile LINE...: layers.ini with CR LF line ends, and a copy to compare with.
profile() {
  printf '%s\r\n' "$@" >"$folder/layers.ini"
  cp "$folder/layers.ini" "$QLN_TMP/layers.before"
}

run_value() { qln_output 90 "$shell_exe" any-process run-value; }

# Runs the self-check. The program names a failed step with
# OutputDebugString, which Wine logs on its seh channel; that line is shown
# when the exit code is not the expected one.
smoke_test() {
  local expected=$1 what=$2
  WINEDEBUG=-all,warn+seh qln_run "$limit" "$folder/quillon.exe" --smoke-test
  if ! qln_expect_code "$expected" "$what"; then
    grep -a -m 1 'self-check failed' "$QLN_ERR" >&2 || true
  fi
}

expect_profile_unchanged() {
  if cmp -s "$folder/layers.ini" "$QLN_TMP/layers.before"; then
    echo "ok: the profile is byte for byte as it was" >&2
  else
    qln_fail "the self-check changed the profile"
  fi
}

expect_run_value() {
  local what=$1 expected=$2 actual
  actual=$(run_value)
  if [[ $actual == "$expected" ]]; then
    echo "ok: $what" >&2
  else
    qln_fail "$what: the Run value is '$actual', expected '$expected'"
  fi
}

# A Space layer longer than the row list's view, so the scrolling steps
# really scroll, and a profile that would turn start with Windows on.
large_profile() {
  local lines=("[Program]" "Startup=1" "Language=en" "MouseMs=650" "" "[Space]") key
  for key in A B C D E F G H I J K L M N O P Q R S T U V W X Y Z 0 1 2 3 4 5 6 7 8 9 F1 F2 F3; do
    lines+=("$key=Shift+PageUp")
  done
  lines+=("" "[CapsLock]" "M=1" "" "[MouseMove]" "J=0x01")
  profile "${lines[@]}"
}

# start_normal [LINE...]: a normal instance from its own folder, with these
# profile lines or, without any, the default profile it writes itself.
# NORMAL_RUN_VALUE := the Run value once it has started.
start_normal() {
  local normal
  normal=$(qln_folder normal)
  if (($#)); then printf '%s\r\n' "$@" >"$normal/layers.ini"; fi
  normal_exe=$normal/quillon.exe
  qln_start "$normal_exe"
  normal_pid=$QLN_PID
  qln_helper wait-window "$settings" 30000 || { qln_fail "no settings window"; qln_end; }
  qln_helper send "$settings" 0 0 0 || { qln_fail "the normal instance does not answer"; qln_end; }
  NORMAL_RUN_VALUE=$(run_value)
}

# The normal instance keeps its Run value, its hidden window and its mutex,
# and still answers and exits as usual.
expect_normal_undisturbed() {
  expect_run_value "the normal instance's Run value is untouched" "$NORMAL_RUN_VALUE"
  qln_run 30 "$probe_exe" visible "$settings" 500
  qln_expect_code 1 "the normal instance's window stays hidden" || true
  # A second normal start still finds the mutex and the window: it hands
  # over, and the first instance shows its settings.
  qln_run 30 "$normal_exe"
  qln_expect_code 0 "the normal instance still holds its mutex and window" || true
  qln_run 30 "$probe_exe" visible "$settings" 10000
  qln_expect_code 0 "the normal instance still answers" || true
  qln_helper post "$settings" 0x111 104 0
  QLN_CODE=0
  wait "$normal_pid" || QLN_CODE=$?
  qln_expect_code 0 "the normal instance exits as usual" || true
}

case $2 in
  beside)
    # The default profile turns start with Windows on for the normal instance.
    start_normal
    [[ $NORMAL_RUN_VALUE == REG_SZ* ]] ||
      qln_fail "the normal instance registered no Run value: $NORMAL_RUN_VALUE"
    profile "${QLN_DEFAULT_PROFILE[@]}"
    smoke_test 0 "the self-check passes with the default profile"
    expect_profile_unchanged
    expect_normal_undisturbed
    ;;
  large)
    # The normal instance keeps start with Windows off; the checked profile
    # would turn it on.
    start_normal "[Program]" "Startup=0" "" "[Space]" "H=PageUp"
    large_profile
    smoke_test 0 "the self-check passes with a long layer"
    expect_profile_unchanged
    expect_run_value "no Run value appears" absent
    expect_normal_undisturbed
    ;;
  no-profile)
    smoke_test 0 "the self-check passes with the built-in profile"
    [[ ! -e $folder/layers.ini ]] || qln_fail "the self-check wrote a profile"
    expect_run_value "no Run value appears" absent
    ;;
  mouse-first)
    # The mouse layer listed first has no timing to check, and when it is
    # empty no row either; the profile is as good as any other.
    profile "[Program]" "Startup=0" "" "[MouseMove]" "J=0x01"
    smoke_test 0 "the self-check passes with only a mouse layer"
    expect_profile_unchanged
    profile "[Program]" "Startup=0" "" "[MouseMove]" "" "[Space]" "H=PageUp"
    smoke_test 0 "the self-check passes with an empty mouse layer first"
    expect_profile_unchanged
    ;;
  bad-profile)
    profile "[Program]" "Startup=1" "Language=en" "" "[Space]" "H=NoSuchKey"
    # A message box would hold the program until the time-out.
    smoke_test 1 "a profile that does not parse fails the self-check, silently"
    expect_profile_unchanged
    expect_run_value "no Run value appears" absent
    ;;
  *)
    echo "unknown case $2" >&2
    exit 2
    ;;
esac
qln_end
