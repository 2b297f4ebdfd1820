#!/usr/bin/env bash
# Saving, closing and the language switch of the settings window, driven
# through its real controls while probe.exe, in front, logs what the hook
# lets through: a saved edit takes effect on real key events at once.
#
# Usage: saving.sh WINDOWS_BUILD_DIR CASE
# Screenshots go to QUILLON_WINE_SHOTS when it is set.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
qln_begin "$1"

settings=Brannock.Quillon.Settings
probe_exe=$QLN_BUILD/tests/wine/probe.exe
driver=$QLN_BUILD/tests/wine/settings_driver.exe
shell=$QLN_BUILD/tests/wine/shell_driver.exe
shots=${QUILLON_WINE_SHOTS:-$QLN_TMP}
folder=$(qln_folder app)
log=$QLN_TMP/probe.log
wm_command=0x111
end=0x23 page_up=0x21

# The default profile with H=End in the Space layer.
edited_profile=("${QLN_DEFAULT_PROFILE[@]}")
edited_profile[6]=H=End

start() {
  qln_start "$probe_exe" log "$(qln_winpath "$log")"
  qln_helper wait-window Quillon.Probe 20000 || { qln_fail "probe.exe did not open"; qln_end; }
  qln_start "$folder/quillon.exe"
  qln_helper wait-window "$settings" 20000 || { qln_fail "no settings window"; qln_end; }
  qln_helper send "$settings" 0 0 0 || { qln_fail "Quillon does not answer"; qln_end; }
}

drive() { qln_output 120 "$driver" "$@"; }

open_settings() {
  qln_helper post "$settings" "$wm_command" 103 0
  qln_run 30 "$probe_exe" visible "$settings" 10000
}

# The structured edit of a user: the Space layer, its row H, target End.
edit_h_to_end() {
  drive "pick 210 32" "pick 211 72" "choose 213 $((end))" >/dev/null
}

space_h_gives() {
  qln_focus_probe
  qln_keys d:space d:h u:h u:space
  qln_logged "$log"
  qln_expect_same "$1" "$QLN_LOGGED" "d:$2 u:$2"
}

expect_profile() {
  local what=$1
  shift
  printf '%s\r\n' "$@" >"$QLN_TMP/expected.ini"
  if cmp -s "$folder/layers.ini" "$QLN_TMP/expected.ini"; then
    echo "ok: $what" >&2
  else
    qln_fail "$what: the profile reads"$'\n'"$(cat -A "$folder/layers.ini")"
  fi
}

visible() {
  qln_run 30 "$probe_exe" visible "$settings" 500
  [[ $QLN_CODE == 0 ]] && echo visible || echo hidden
}

case $2 in
  save)
    printf '%s\r\n' "${QLN_DEFAULT_PROFILE[@]}" >"$folder/layers.ini"
    start
    open_settings
    edit_h_to_end
    # Space held: nothing is written and the draft stays as it is. A Wine
    # program started while a key is held loses that key for the hook, so the
    # driver that posts Save is already running when Space goes down.
    qln_focus_probe
    timeout -k 5 60 wine "$shell" about-count 'sleep 2500' "post $wm_command 101" 'boxes 3000' \
      </dev/null >"$QLN_TMP/boxes.txt" 2>&1 &
    poster=$!
    # It prints the count of About windows once it runs.
    for ((i = 0; i < 200; i++)); do
      [[ -s $QLN_TMP/boxes.txt ]] && break
      sleep 0.05
    done
    sleep 1
    qln_keys d:space
    wait "$poster" || true
    qln_keys u:space
    qln_expect_same "Save while Space is held is refused" \
      "$(tail -n +2 "$QLN_TMP/boxes.txt" | tr -d '\r')" "box: Отпустите клавиши слоя и повторите сохранение."
    expect_profile "the refused save wrote nothing" "${QLN_DEFAULT_PROFILE[@]}"
    qln_expect_same "the draft is kept" "$(drive modified 'selected 213')" "modified"$'\n'"End"

    qln_expect_same "the edit is a draft until saved" "$(drive modified)" modified
    space_h_gives "before Save the old mapping holds" "$page_up"

    # Released: the save goes through, the engine switches at once, and the
    # Run value, removed meanwhile by someone else, follows Startup=1 again.
    wine reg delete 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Quillon /f >/dev/null 2>&1
    qln_expect_same "released, Save succeeds silently" "$(drive 'command 101 0' modified)" unmodified
    expect_profile "the file holds the edit" "${edited_profile[@]}"
    space_h_gives "Space+H now gives End" "$end"
    qln_expect_same "the Run value follows the saved Startup=1" \
      "$(qln_output 120 "$shell" run-value | cut -d' ' -f1)" REG_SZ
    qln_expect_same "closing right after a save asks nothing" "$(drive 'command 102 0')" ""
    qln_expect_same "and hides the window" "$(visible)" hidden
    ;;
  read-only)
    printf '%s\r\n' "${QLN_DEFAULT_PROFILE[@]}" >"$folder/layers.ini"
    start
    open_settings
    edit_h_to_end
    qln_hold_file "$folder/layers.ini"
    out=$(drive 'command 101 0' modified)
    qln_release_file
    [[ $out == "box: Не удалось заменить профиль"*$'\n'modified ]] ||
      qln_fail "a profile that cannot be replaced: got '$out'"
    expect_profile "the old file is intact" "${QLN_DEFAULT_PROFILE[@]}"
    space_h_gives "the engine is unchanged" "$page_up"
    compgen -G "$folder/layers-*" >/dev/null && qln_fail "a temporary file was left behind"
    qln_expect_same "released, the kept draft saves" "$(drive 'command 101 0' modified)" unmodified
    space_h_gives "and takes effect" "$end"
    ;;
  close)
    printf '%s\r\n' "${QLN_DEFAULT_PROFILE[@]}" >"$folder/layers.ini"
    start
    open_settings
    edit_h_to_end
    qln_expect_same "Close with unsaved changes asks, No keeps them" \
      "$(drive 'answer no' 'command 102 0' modified)" \
      "box: Отменить несохранённые изменения?"$'\n'"modified"
    qln_expect_same "the window stays open" "$(visible)" visible
    qln_expect_same "asked again, Yes discards" \
      "$(drive 'answer yes' 'command 102 0')" "box: Отменить несохранённые изменения?"
    qln_expect_same "the window is hidden" "$(visible)" hidden
    open_settings
    qln_expect_same "reopened, it shows the saved profile" "$(drive 'pick 210 32' 'pick 211 72' 'selected 213' modified)" \
      "PageUp"$'\n'"unmodified"
    expect_profile "nothing was written" "${QLN_DEFAULT_PROFILE[@]}"
    # Exit asks the same question; No keeps the program running.
    edit_h_to_end
    qln_helper post "$settings" "$wm_command" 104 0
    qln_expect_same "Exit with unsaved changes asks" \
      "$(qln_output 120 "$shell" 'answer no' 'boxes 3000')" \
      "box: Отменить несохранённые изменения?"
    qln_expect_same "answered No, Quillon keeps running" "$(visible)" visible
    ;;
  language)
    printf '%s\r\n' "${QLN_DEFAULT_PROFILE[@]}" >"$folder/layers.ini"
    start
    open_settings
    qln_expect_same "the already selected language writes nothing" "$(drive 'click 320 1' 'checked 320')" checked
    expect_profile "the profile is untouched" "${QLN_DEFAULT_PROFILE[@]}"
    # Unsaved edits and a pending key capture survive the switch.
    edit_h_to_end
    drive "command 214 0" >/dev/null
    out=$(drive 'click 321 1' 'checked 321' 'checked 320' 'text 101' 'text 102' 'text 214' \
      'text 215' modified)
    qln_expect_same "EN relabels the window and keeps the capture asking" "$out" \
      "checked"$'\n'"unchecked"$'\n'"Save"$'\n'"Close"$'\n'"Press…"$'\n'"Set key"$'\n'"modified"
    english_profile=("${QLN_DEFAULT_PROFILE[@]}")
    english_profile[2]=Language=en
    expect_profile "only the Language line changed on disk" "${english_profile[@]}"
    import -display "$DISPLAY" -window root "$shots/settings-english.png"
    drive "command 214 0" >/dev/null
    edited_english=("${edited_profile[@]}")
    edited_english[2]=Language=en
    qln_expect_same "the edits are saved later" "$(drive 'command 101 0' modified)" unmodified
    expect_profile "with the new language" "${edited_english[@]}"
    drive 'click 320 1' >/dev/null
    import -display "$DISPLAY" -window root "$shots/settings-russian.png"
    expect_profile "RU switches the file back" "${edited_profile[@]}"
    # A profile that cannot be replaced: the user is told, the window speaks
    # the new language all the same, and the file keeps the old one.
    qln_hold_file "$folder/layers.ini"
    out=$(drive 'click 321 1' 'text 101')
    qln_release_file
    [[ $out == "box: Could not open the profile"*$'\n'Save ]] ||
      qln_fail "switching with the profile held open: got '$out'"
    expect_profile "the held profile keeps its language" "${edited_profile[@]}"
    ;;
  *)
    echo "unknown case $2" >&2
    exit 2
    ;;
esac
qln_end
