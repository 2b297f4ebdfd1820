#!/usr/bin/env bash
# The keyboard hook removed behind the program's back, as Windows does with a
# hook that once ran too long, while a remapped key is held. quillon-test.exe
# (the program with test-only switches) removes its hook on dropHookTestMsg
# and keeps the dead handle. The next keys reach only raw input; within about
# half a second the program must reinstall the hook, release the key it held,
# and translate again. Mouse movement alone must never cause a reinstall.
#
# Usage: hook_watchdog.sh WINDOWS_BUILD_DIR CASE
#   recover         the hook is dropped and comes back; prints the recovery time
#   release-build   quillon.exe ignores the test message and keeps its hook
set -euo pipefail
source "$(dirname "$0")/lib.sh"
qln_begin "$1"

readonly drop_hook_msg=0x805A  # WM_APP + 90
readonly settings_class=Brannock.Quillon.Settings probe_class=Quillon.Probe
readonly page_up=0x21 left=0x25 h_key=0x48

test_exe=$QLN_BUILD/src/main/quillon-test.exe
[[ -f $test_exe ]] || { echo "missing $test_exe: build the windows preset first" >&2; exit 1; }
folder=$(qln_folder app)
cp "$test_exe" "$folder/"
printf '%s\r\n' '[Program]' 'Startup=0' 'Language=en' '' '[Space]' 'H=PageUp' 'J=Left' \
  >"$folder/layers.ini"
log=$QLN_TMP/probe.log
: >"$log"

# Lines the probe logged after line $1 of its log, on one line.
since() { tail -n +"$(($1 + 1))" "$log" | tr -d '\r' | tr '\n' ' '; }
lines() { wc -l <"$log"; }

key() { xdotool "$@"; sleep 0.05; }

# Space+H typed once; the probe should see PageUp and nothing else.
layer_tap() { key keydown space keydown h keyup h keyup space; }

# wait_line PATTERN SECONDS FROM: until the probe logs PATTERN after line FROM.
wait_line() {
  local pattern=$1 seconds=$2 from=$3 i
  for ((i = 0; i < seconds * 100; i++)); do
    tail -n +"$((from + 1))" "$log" | tr -d '\r' | grep -qx -- "$pattern" && return 0
    sleep 0.01
  done
  return 1
}

start_program() {
  local exe=$1
  qln_start "$QLN_BUILD/tests/wine/probe.exe" log "$(qln_winpath "$log")"
  qln_run 30 "$QLN_BUILD/tests/wine/probe.exe" visible "$probe_class" 20000
  qln_expect_code 0 "the probe window is up" || exit 1
  qln_start "$folder/$exe"
  qln_helper wait-window "$settings_class" 20000
  qln_expect_code 0 "$exe is running" || exit 1
  qln_helper focus "$probe_class"
  qln_expect_code 0 "the probe is in front" || exit 1
  # The hook is installed a little after the window appears.
  local i from
  for ((i = 0; i < 40; i++)); do
    from=$(lines)
    layer_tap
    wait_line "u:$page_up" 1 "$from" && return 0
  done
  qln_fail "$exe: Space+H never gave PageUp"
  exit 1
}

drop_hook() {
  qln_helper send "$settings_class" "$drop_hook_msg" 0 0
  qln_expect_code 0 "the program answered the test message" || true
}

case $2 in
  recover)
    start_program quillon-test.exe
    # PageUp is held while H is: J pressed in the layer decides H.
    from=$(lines)
    key keydown space keydown h keydown j keyup j
    wait_line "u:$left" 2 "$from" || qln_fail "the layer did not give PageUp and Left"
    [[ $(since "$from") == "d:$page_up d:$left u:$left " ]] ||
      qln_fail "before the drop the probe got: $(since "$from")"

    drop_hook
    # The mouse alone: raw mouse reports, no key reports, so no reinstall and
    # PageUp stays down.
    from=$(lines)
    for ((i = 0; i < 15; i++)); do xdotool mousemove $((200 + i * 20)) $((300 + i * 10)); sleep 0.1; done
    sleep 0.6
    [[ -z $(since "$from") ]] || qln_fail "mouse movement alone changed keys: $(since "$from")"

    # Keys the dead hook cannot see: the release of H reaches the probe as it
    # is, and the watchdog notices it.
    from=$(lines)
    start=$(date +%s%N)
    xdotool keyup h
    if wait_line "u:$page_up" 3 "$from"; then
      recovered=$(date +%s%N)
      echo "recovery: $(((recovered - start) / 1000000)) ms from the first unseen key to PageUp up" >&2
    else
      qln_fail "PageUp was never released: $(since "$from")"
    fi
    key keyup space
    [[ $(since "$from") == "u:$h_key u:$page_up u:0x20 " ]] ||
      qln_fail "around the reinstall the probe got: $(since "$from")"

    # The reinstalled hook translates again, and nothing is left to repair.
    sleep 0.7
    from=$(lines)
    layer_tap
    wait_line "u:$page_up" 2 "$from" || true
    [[ $(since "$from") == "d:$page_up u:$page_up " ]] ||
      qln_fail "Space+H after the reinstall gave: $(since "$from")"
    from=$(lines)
    key keydown a keyup a
    sleep 1
    [[ $(since "$from") == "d:0x41 c:0x61 u:0x41 " ]] ||
      qln_fail "typing after the reinstall gave: $(since "$from")"
    ;;
  release-build)
    start_program quillon.exe
    drop_hook
    sleep 0.3
    from=$(lines)
    key keydown space keydown h
    # The hook still swallows these: nothing may reach the probe yet.
    sleep 0.3
    [[ -z $(since "$from") ]] || qln_fail "quillon.exe dropped its hook: $(since "$from")"
    key keyup h keyup space
    wait_line "u:$page_up" 2 "$from" || true
    [[ $(since "$from") == "d:$page_up u:$page_up " ]] ||
      qln_fail "Space+H after the test message gave: $(since "$from")"
    ;;
  *)
    echo "unknown case $2" >&2
    exit 2
    ;;
esac
qln_end
