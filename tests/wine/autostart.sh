#!/usr/bin/env bash
# Start with Windows: the Run value "Quillon" follows the profile's Startup
# option at every start, and the tray menu's command changes both together,
# putting the Run value back when the profile cannot be written.
#
# Usage: autostart.sh WINDOWS_BUILD_DIR CASE
set -euo pipefail
source "$(dirname "$0")/lib.sh"
qln_begin "$1"

driver=$QLN_BUILD/tests/wine/shell_driver.exe
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
wm_command=0x111
exit_command=104
startup_command=105

# drive STEP...: the shell driver's output, without CR.
drive() { qln_output 90 "$driver" "$@"; }

# The Run value as stored: "REG_SZ BYTES TEXT", or "absent".
run_value() {
  drive any-process run-value
}

# The value an executable in FOLDER registers: its quoted path, with the
# terminating NUL stored too.
registered() {
  local data
  data="\"$(qln_winpath "$1/quillon.exe")\""
  printf 'REG_SZ %d %s\n' $(((${#data} + 1) * 2)) "$data"
}

expect_value() {
  local what=$1 expected=$2 actual i
  for ((i = 0; i < 50; i++)); do
    actual=$(run_value)
    [[ $actual == "$expected" ]] && break
    sleep 0.2
  done
  if [[ $actual == "$expected" ]]; then
    echo "ok: $what" >&2
  else
    qln_fail "$what: the Run value is '$actual', expected '$expected'"
  fi
}

expect_profile() {
  local what=$1 folder=$2
  shift 2
  printf '%s\r\n' "$@" >"$QLN_TMP/expected.ini"
  if cmp -s "$folder/layers.ini" "$QLN_TMP/expected.ini"; then
    echo "ok: $what" >&2
  else
    qln_fail "$what: the profile reads"$'\n'"$(cat -A "$folder/layers.ini")"
  fi
}

# start FOLDER: runs Quillon there and waits for its window.
start() {
  qln_start "$1/quillon.exe"
  qln_helper wait-window Brannock.Quillon.Settings 30000
  qln_expect_code 0 "Quillon started in $(basename "$1")" || exit 1
}

tray_command() {
  qln_helper post Brannock.Quillon.Settings "$wm_command" "$1" 0
}

stop() {
  tray_command "$exit_command"
  local code=0
  timeout 30 tail --pid="$QLN_PID" -f /dev/null || code=$?
  [[ $code == 0 ]] || qln_fail "Quillon did not end on Exit"
  wait "$QLN_PID" 2>/dev/null || true
}

# folder NAME LINE...: a folder with quillon.exe and a profile of these lines.
folder() {
  local dir
  dir=$(qln_folder "$1")
  shift
  printf '%s\r\n' "$@" >"$dir/layers.ini"
  printf '%s\n' "$dir"
}

with_startup() {
  local value=$1
  shift
  local line
  for line in "$@"; do
    [[ $line == Startup=* ]] && line=Startup=$value
    printf '%s\n' "$line"
  done
}

case $2 in
  start)
    # Each start brings the Run value in line with the profile, rewriting an
    # enabled one with the path of the executable that runs now.
    wine reg add "$run_key" /v Quillon /d '"C:\Old place\quillon.exe"' /f >/dev/null 2>&1
    first=$(folder first "${QLN_DEFAULT_PROFILE[@]}")
    start "$first"
    expect_value "an enabled value names the executable started" "$(registered "$first")"
    stop
    moved=$(folder "moved here" "${QLN_DEFAULT_PROFILE[@]}")
    start "$moved"
    expect_value "started from a new place, the value follows it" "$(registered "$moved")"
    stop

    mapfile -t disabled < <(with_startup 0 "${QLN_DEFAULT_PROFILE[@]}")
    off=$(folder off "${disabled[@]}")
    start "$off"
    expect_value "Startup=0 removes the value" absent
    stop
    start "$off"
    expect_value "an absent value stays absent" absent
    stop

    # A profile that does not parse enables nothing: the value goes.
    wine reg add "$run_key" /v Quillon /d '"C:\Old place\quillon.exe"' /f >/dev/null 2>&1
    broken=$(folder broken "[Program]" "Startup=1" "[Space]" "H=PgUp")
    qln_start "$broken/quillon.exe"
    boxes=$(drive any-process 'boxes 8000')
    [[ $boxes == "box: Line 4: Unknown key"* ]] || qln_fail "no profile error at start: '$boxes'"
    expect_value "a profile that does not parse removes the value" absent
    stop
    ;;
  toggle)
    # Without a profile Quillon writes the default one, which starts with Windows.
    app=$(qln_folder app)
    start "$app"
    expect_value "the default profile registers Quillon" "$(registered "$app")"
    mapfile -t disabled < <(with_startup 0 "${QLN_DEFAULT_PROFILE[@]}")
    tray_command "$startup_command"
    expect_value "the command removes the value" absent
    expect_profile "and writes Startup=0 into the profile" "$app" "${disabled[@]}"
    tray_command "$startup_command"
    expect_value "the command registers Quillon again" "$(registered "$app")"
    expect_profile "and writes Startup=1 back" "$app" "${QLN_DEFAULT_PROFILE[@]}"

    # A value holding an empty string starts nothing, so the command enables.
    tray_command "$startup_command"
    expect_value "disabled once more" absent
    wine reg add "$run_key" /v Quillon /d '' /f >/dev/null 2>&1
    expect_value "an empty value" "REG_SZ 2 "
    tray_command "$startup_command"
    expect_value "the command enables over an empty value" "$(registered "$app")"
    expect_profile "with Startup=1 in the profile" "$app" "${QLN_DEFAULT_PROFILE[@]}"
    ;;
  unsaved)
    # The settings window is open with an unsaved edit: the command rewrites
    # the draft's Startup line and leaves the edit unsaved, marked as before.
    app=$(folder app "${QLN_DEFAULT_PROFILE[@]}")
    start "$app"
    settings_driver=$QLN_BUILD/tests/wine/settings_driver.exe
    tray_command 103
    qln_run 30 "$QLN_BUILD/tests/wine/probe.exe" visible Brannock.Quillon.Settings 10000
    qln_run 60 "$settings_driver" "pick 210 32" "pick 211 72" "choose 213 35"
    tray_command "$startup_command"
    expect_value "the command removes the value" absent
    mapfile -t disabled < <(with_startup 0 "${QLN_DEFAULT_PROFILE[@]}")
    expect_profile "the file gets Startup=0 and not the unsaved edit" "$app" "${disabled[@]}"
    qln_run 60 "$settings_driver" modified
    [[ $(tr -d '\r' <"$QLN_OUT") == modified ]] || qln_fail "the edit is no longer marked unsaved"
    # Saved now, the draft brings both: its edit and the new Startup line.
    qln_run 60 "$settings_driver" "command 101 0"
    disabled[6]=H=End
    expect_profile "the saved draft holds the edit and Startup=0" "$app" "${disabled[@]}"
    expect_value "and the Run value stays absent" absent
    ;;
  rollback)
    # A profile that cannot be replaced: the Run value goes back to what it
    # was and the user reads why.
    app=$(folder app "${QLN_DEFAULT_PROFILE[@]}")
    start "$app"
    expect_value "registered at start" "$(registered "$app")"
    qln_hold_file "$app/layers.ini"
    tray_command "$startup_command"
    boxes=$(drive 'boxes 6000')
    qln_release_file
    [[ $boxes == "box: Не удалось заменить профиль"* && $(wc -l <<<"$boxes") == 1 ]] ||
      qln_fail "expected the profile's write error alone, got '$boxes'"
    expect_value "the Run value is put back" "$(registered "$app")"
    expect_profile "the profile is unchanged" "$app" "${QLN_DEFAULT_PROFILE[@]}"
    compgen -G "$app/layers-*" >/dev/null && qln_fail "a temporary file was left behind"
    # Once the file can be written again the command works as before.
    mapfile -t disabled < <(with_startup 0 "${QLN_DEFAULT_PROFILE[@]}")
    tray_command "$startup_command"
    expect_value "released, the command removes the value" absent
    expect_profile "and writes Startup=0" "$app" "${disabled[@]}"
    ;;
  *)
    echo "unknown case $2" >&2
    exit 2
    ;;
esac
qln_end
