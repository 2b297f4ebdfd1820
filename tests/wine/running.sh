#!/usr/bin/env bash
# quillon.exe running under Wine with real hook traffic: keys typed with
# xdotool go through Quillon's low-level hook, and probe.exe, which has the
# keyboard focus, logs what reaches it (see probe.cpp for the log lines).
#
# Usage: running.sh WINDOWS_BUILD_DIR CASE
set -euo pipefail
source "$(dirname "$0")/lib.sh"
qln_begin "$1"

limit=30
settings=Brannock.Quillon.Settings
probe_exe=$QLN_BUILD/tests/wine/probe.exe
folder=$(qln_folder app)
log=$QLN_TMP/probe.log

# profile LINE...: layers.ini with CR LF line ends.
profile() { printf '%s\r\n' "$@" >"$folder/layers.ini"; }

start_probe() {
  qln_start "$probe_exe" log "$(qln_winpath "$log")"
  qln_helper wait-window Quillon.Probe 20000 || { qln_fail "probe.exe did not open"; qln_end; }
}

# Starts Quillon and waits until its message loop answers: by then start-up
# has installed the keyboard hook.
start_quillon() {
  qln_start "$folder/quillon.exe"
  quillon_pid=$QLN_PID
  qln_helper wait-window "$settings" 20000 || { qln_fail "no settings window"; qln_end; }
  qln_helper send "$settings" 0 0 0 || { qln_fail "Quillon does not answer"; qln_end; }
}

# expect_typed WHAT EXPECTED: the probe saw exactly EXPECTED since the last check.
expect_typed() {
  local what=$1 expected=$2
  qln_logged "$log"
  if [[ $QLN_LOGGED == "$expected" ]]; then
    echo "ok: $what" >&2
  else
    qln_fail "$what: the probe saw '$QLN_LOGGED', expected '$expected'"
  fi
}

# exit_quillon: the tray menu's Exit command; the process must end with 0.
exit_quillon() {
  qln_helper post "$settings" 0x111 104 0 || qln_fail "could not post Exit"
  QLN_CODE=0
  local i
  for ((i = 0; i < 200; i++)); do
    kill -0 "$quillon_pid" 2>/dev/null || break
    sleep 0.05
  done
  if kill -0 "$quillon_pid" 2>/dev/null; then
    QLN_CODE=124
  else
    wait "$quillon_pid" || QLN_CODE=$?
  fi
  qln_expect_code 0 "Exit from the tray menu" || true
}

case $2 in
  layers)
    # No profile: the default one is written and used.
    start_probe
    start_quillon
    printf '%s\r\n' "${QLN_DEFAULT_PROFILE[@]}" >"$QLN_TMP/default.ini"
    if cmp -s "$folder/layers.ini" "$QLN_TMP/default.ini"; then
      echo "ok: the missing profile was created with the default text" >&2
    else
      qln_fail "layers.ini is not the default profile ($(wc -c <"$folder/layers.ini" 2>/dev/null) bytes)"
    fi
    qln_run "$limit" "$probe_exe" tray-icon "$settings"
    qln_expect_code 0 "the tray icon is there" || true
    qln_focus_probe
    qln_keys d:space u:space
    expect_typed "a tap of Space types a space" "d:0x20 c:0x20 u:0x20"
    qln_keys d:space d:h u:h u:space
    expect_typed "Space+H gives PageUp and no h" "d:0x21 u:0x21"
    qln_keys d:space d:x u:x u:space
    expect_typed "Space then an unbound X types a space and x" \
      "d:0x20 c:0x20 u:0x20 d:0x58 c:0x78 u:0x58"
    # CapsLock+M is left to the unit tests: Wine's X driver fakes CapsLock
    # presses whenever X's lock state and its own disagree, and a swallowed
    # CapsLock makes them disagree, which does not happen on Windows.
    qln_keys d:space d:j u:j d:k u:k u:space
    expect_typed "two bindings in one hold" "d:0x25 u:0x25 d:0x28 u:0x28"
    qln_keys d:h u:h
    expect_typed "an unbound key alone passes" "d:0x48 c:0x68 u:0x48"
    exit_quillon
    ;;
  modifiers)
    profile "[Space]" "H=Ctrl+Shift+Left"
    start_probe
    start_quillon
    qln_focus_probe
    qln_keys d:space d:h u:h u:space
    expect_typed "a binding with modifiers: modifiers down, target, modifiers up in reverse" \
      "d:0x11 d:0x10 d:0x25 u:0x25 u:0x10 u:0x11"
    exit_quillon
    ;;
  mouse)
    profile "[Program]" "MouseMs=5000" "[MouseMove]" "F=0x01"
    start_probe
    start_quillon
    qln_focus_probe
    qln_keys d:f u:f
    expect_typed "with the mouse still, F types f" "d:0x46 c:0x66 u:0x46"
    xdotool mousemove 400 300
    sleep 0.1
    xdotool mousemove 420 310
    sleep 0.3
    qln_keys d:f u:f
    expect_typed "after the mouse moved, F clicks the left button" "m:left-down m:left-up"
    exit_quillon
    ;;
  exclude)
    # Wine never reports foreground changes, so the excluded program must be
    # in front before Quillon starts and reads the foreground once.
    profile "[Program]" "Exclude=Probe.exe" "[Space]" "H=PageUp"
    start_probe
    qln_focus_probe
    start_quillon
    qln_focus_probe
    qln_keys d:space d:h u:h u:space
    expect_typed "in an excluded program Space and H type normally" \
      "d:0x20 c:0x20 d:0x48 c:0x68 u:0x48 u:0x20"
    exit_quillon
    ;;
  held-at-exit)
    start_probe
    start_quillon
    qln_focus_probe
    # J uses the layer, so H then goes straight to PageUp and stays down.
    qln_keys d:space d:j u:j d:h
    sleep 0.3
    exit_quillon
    qln_keys u:h u:space
    expect_typed "PageUp held at Exit is released by the sender" \
      "d:0x25 u:0x25 d:0x21 u:0x21 u:0x48 u:0x20"
    ;;
  second-instance)
    start_quillon
    qln_run "$limit" "$folder/quillon.exe"
    qln_expect_code 0 "a second start hands over and exits" || true
    qln_run "$limit" "$probe_exe" visible "$settings" 10000
    qln_expect_code 0 "the first instance shows its settings window" || true
    kill -0 "$quillon_pid" 2>/dev/null || qln_fail "the first instance ended"
    exit_quillon
    ;;
  bad-profile)
    profile "[Program]" "Language=en" "[Space]" "H=Nowhere"
    start_probe
    qln_start "$folder/quillon.exe"
    quillon_pid=$QLN_PID
    qln_helper wait-window '#32770' 20000 || { qln_fail "no message box about the profile"; qln_end; }
    qln_run "$limit" "$probe_exe" texts '#32770'
    grep -q 'Unknown key: Nowhere' "$QLN_OUT" || qln_fail "the box does not show the parser's message: $(<"$QLN_OUT")"
    grep -q 'Fix the profile via the tray icon.' "$QLN_OUT" || qln_fail "the box lacks the note: $(<"$QLN_OUT")"
    qln_helper post '#32770' 0x111 1 0
    qln_helper wait-window "$settings" 20000 || { qln_fail "no settings window after the box"; qln_end; }
    qln_helper send "$settings" 0 0 0 || qln_fail "Quillon does not answer"
    cmp -s <(printf '%s\r\n' "[Program]" "Language=en" "[Space]" "H=Nowhere") "$folder/layers.ini" ||
      qln_fail "the broken profile was changed"
    qln_focus_probe
    qln_keys d:space d:h u:h u:space
    expect_typed "with a broken profile every key passes" \
      "d:0x20 c:0x20 d:0x48 c:0x68 u:0x48 u:0x20"
    exit_quillon
    ;;
  unreadable)
    # A profile that cannot be read: the error in Russian, and no layers,
    # although the default text the editor falls back to would parse.
    profile "[Program]" "Language=en" "[Space]" "H=PageUp"
    qln_hold_file "$folder/layers.ini"
    start_probe
    qln_start "$folder/quillon.exe"
    quillon_pid=$QLN_PID
    qln_helper wait-window '#32770' 20000 || { qln_fail "no message box about the profile"; qln_end; }
    qln_run "$limit" "$probe_exe" texts '#32770'
    grep -q 'Исправьте профиль через значок в трее.' "$QLN_OUT" ||
      qln_fail "the box lacks the Russian note: $(<"$QLN_OUT")"
    qln_helper post '#32770' 0x111 1 0
    qln_release_file
    qln_helper wait-window "$settings" 20000 || { qln_fail "no settings window after the box"; qln_end; }
    qln_helper send "$settings" 0 0 0 || qln_fail "Quillon does not answer"
    qln_focus_probe
    qln_keys d:space d:h u:h u:space
    expect_typed "with an unreadable profile every key passes" \
      "d:0x20 c:0x20 d:0x48 c:0x68 u:0x48 u:0x20"
    exit_quillon
    ;;
  tray)
    start_quillon
    tray_message=0x8001
    qln_helper post "$settings" $tray_message 0 0x202
    qln_run "$limit" "$probe_exe" visible "$settings" 10000
    qln_expect_code 0 "a left click on the icon shows the settings window" || true
    qln_helper post "$settings" 0x10 0 0
    sleep 0.5
    qln_run "$limit" "$probe_exe" visible "$settings" 300
    qln_expect_code 1 "closing the settings window hides it" || true
    qln_run "$limit" "$probe_exe" tray-icon "$settings"
    qln_expect_code 0 "the icon stays while the window is closed" || true
    qln_helper post "$settings" 0x111 103 0
    qln_run "$limit" "$probe_exe" visible "$settings" 10000
    qln_expect_code 0 "Settings... shows the window again" || true
    # A right click opens the menu; Up selects its last item, Exit.
    qln_helper post "$settings" $tray_message 0 0x205
    qln_helper wait-window '#32768' 10000 || qln_fail "no menu after a right click"
    qln_keys d:Up u:Up d:Return u:Return
    for ((i = 0; i < 200; i++)); do
      kill -0 "$quillon_pid" 2>/dev/null || break
      sleep 0.05
    done
    QLN_CODE=0
    if kill -0 "$quillon_pid" 2>/dev/null; then QLN_CODE=124; else wait "$quillon_pid" || QLN_CODE=$?; fi
    qln_expect_code 0 "Exit chosen in the tray menu" || true
    ;;
  no-window)
    # Another holder of the mutex without the window: the failure report, 2.
    qln_start "$probe_exe" hold-mutex 'Local\Brannock.Quillon' 60000
    sleep 1
    qln_start "$folder/quillon.exe"
    quillon_pid=$QLN_PID
    qln_helper wait-window '#32770' 20000 || { qln_fail "no failure report"; qln_end; }
    qln_run "$limit" "$probe_exe" texts '#32770'
    grep -q '(2)' "$QLN_OUT" || qln_fail "the report does not give status 2: $(<"$QLN_OUT")"
    qln_helper post '#32770' 0x111 1 0
    QLN_CODE=0
    wait "$quillon_pid" || QLN_CODE=$?
    qln_expect_code 1 "start-up fails with the failure report" || true
    ;;
  *)
    echo "unknown case $2" >&2
    exit 2
    ;;
esac
qln_end
