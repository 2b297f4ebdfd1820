#!/usr/bin/env bash
# The settings window under Wine, driven through settings_driver.exe: rows and
# layers edited in the draft, key capture through real key presses (xdotool),
# the timing inputs with their range messages, and screenshots of the window
# in both languages and presentations.
#
# Usage: settings.sh WINDOWS_BUILD_DIR CASE
set -euo pipefail
source "$(dirname "$0")/lib.sh"
qln_begin "$1"
case_name=$2

driver=$QLN_BUILD/tests/wine/settings_driver.exe
settings=Brannock.Quillon.Settings

# start LINE...: Quillon in a fresh folder with a profile of these lines
# (CR LF ends, as the program writes them), its settings window opened.
start() {
  folder=$(qln_folder app)
  printf '%s\r\n' "$@" >"$folder/layers.ini"
  qln_start "$folder/quillon.exe"
  qln_helper wait-window "$settings" 60000 || { qln_fail "no settings window"; qln_end; }
  drive open >/dev/null
}

# drive STEP...: runs the steps and prints what they observed.
drive() {
  local out=$QLN_TMP/driver.out
  timeout -k 5 120 wine "$driver" "$@" >"$out" 2>>"$QLN_TMP/driver.err" </dev/null ||
    qln_fail "driver: $* ($(tail -n 1 "$QLN_TMP/driver.err"))"
  tr -d '\r' <"$out"
}

expect() {
  local what=$1 expected=$2 actual=$3
  if [[ $actual == "$expected" ]]; then
    echo "ok: $what" >&2
  else
    qln_fail "$what: expected [$expected], got [$actual]"
  fi
}

# The draft's lines, one per line, without CR.
draft() { drive draft; }

shot() {
  sleep 0.5
  mkdir -p "$QLN_SHOTS"
  import -display "$DISPLAY" -window root "$QLN_SHOTS/$1.png"
  echo "screenshot: $QLN_SHOTS/$1.png" >&2
}
QLN_SHOTS=${QUILLON_SHOTS:-$QLN_BUILD/screenshots}

# Key codes and control ids used below.
space=32 capslock=20 key_h=72 key_i=73 f5=116 f6=117 mouse=255
layer_list=210 row_list=211 source_box=212 target_box=213 capture_source=214 capture_target=215
new_row=216 remove_row=217 add_layer=218 remove_layer=219 l_ctrl=242 shift=248
hold_check=260 delay_input=261 hold_input=262 mouse_time=280 picker=COMBOBOX#2

default_lines=(
  "[Program]" "Startup=0" "Language=en" "" "[Space]" "H=PageUp" "I=Up" "" "[CapsLock]" "M=1"
)

# A key press the hook captures for the field waiting; the hook is installed a
# little after the window appears, so the first try may come too early.
capture() {
  local button=$1 key=$2 field=$3 expected=$4 i
  for ((i = 0; i < 20; i++)); do
    qln_helper focus "$settings" 10000 || true
    drive "command $button 0" >/dev/null
    xdotool key "$key"
    sleep 0.3
    [[ $(drive "selected $field") == "$expected" ]] && return 0
  done
  qln_fail "capture of $key never reached the window"
}

case $case_name in
rows)
  start "${default_lines[@]}"
  # A new row: source and modifiers first write nothing, the target completes it.
  drive "command $new_row 0" >/dev/null
  capture $capture_source F6 $source_box F6
  drive "click $l_ctrl 1" "click $shift 1" >/dev/null
  expect "half a row writes nothing" "$(printf '%s\n' "${default_lines[@]}")" "$(draft)"
  capture $capture_target F5 $target_box F5
  expect "captured row at the end of its section" \
    "$(printf '%s\n' "[Program]" "Startup=0" "Language=en" "" "[Space]" "H=PageUp" "I=Up" "" \
      "F6=LCtrl+Shift+F5" "[CapsLock]" "M=1")" "$(draft)"
  expect "the new row is selected" "F6	L Ctrl + Shift + F5" "$(drive "selected $row_list")"
  expect "capture buttons say Set key again" "Set key" "$(drive "text $capture_target")"
  expect "the draft is marked changed" modified "$(drive modified)"

  # Changing a row's source to a key that has a row already.
  before=$(draft)
  expect "assigned key refused, boxes restored" \
    "$(printf '%s\n' "box: This key is already assigned." I Up)" \
    "$(drive "pick $row_list $key_i" "choose $source_box $key_h" "selected $source_box" \
      "selected $target_box")"
  expect "refused edit leaves the draft" "$before" "$(draft)"

  # Modifiers of a stored row are rewritten in place.
  drive "pick $row_list $key_i" "click $l_ctrl 1" >/dev/null
  expect "modifier rewrites the row in place" "I=LCtrl+Up" "$(draft | sed -n 7p)"

  # Removing the only row of a keyboard layer.
  before=$(draft)
  expect "last row of a layer stays" "box: Empty layer" \
    "$(drive "pick $layer_list $capslock" "command $remove_row 0")"
  expect "its draft is unchanged" "$before" "$(draft)"
  expect "and the row still listed" "M	1" "$(drive "items $row_list")"

  # Removing a row selects the layer's first row.
  drive "pick $layer_list $space" "pick $row_list $key_i" "command $remove_row 0" >/dev/null
  expect "row removed" "H	PageUp|F6	L Ctrl + Shift + F5" "$(drive "items $row_list")"
  expect "first row selected after a removal" "H	PageUp" "$(drive "selected $row_list")"
  ;;

layers)
  start "[Program]" "Startup=0" "Language=en" "Timing.0x14=100,0,500" "" "[Space]" "H=PageUp" \
    "" "[CapsLock]" "M=1"
  # The mouse layer goes into the draft at once, empty.
  drive "choose $picker $mouse" "command $add_layer 0" >/dev/null
  expect "mouse layer appended" "[CapsLock]|M=1||[MouseMove]|" "$(draft | tail -n 5 | paste -sd '|')"
  expect "mouse layer listed and selected" "Mouse movement" "$(drive "selected $layer_list")"
  expect "mouse group shown" "visible enabled|hidden enabled" \
    "$(drive "state $mouse_time" "state $delay_input" | paste -sd '|')"

  # A keyboard layer is listed, and written with its first row.
  before=$(draft)
  drive "choose $picker $f5" "command $add_layer 0" >/dev/null
  expect "keyboard layer listed" "Space|CapsLock|Mouse movement|F5" "$(drive "items $layer_list")"
  expect "its draft unchanged until a row" "$before" "$(draft)"
  expect "new layer timing" "80|500|unchecked|visible disabled" \
    "$(drive "text $delay_input" "text $hold_input" "checked $hold_check" "state $hold_input" |
      paste -sd '|')"
  drive "choose $source_box $key_h" "choose $target_box $f6" >/dev/null
  expect "section written with its first row" \
    "$(printf '%s\n' "[Program]" "Startup=0" "Language=en" "Timing.0x14=100,0,500" "" "[Space]" \
      "H=PageUp" "" "[CapsLock]" "M=1" "" "[MouseMove]" "[F5]" "H=F6")" "$(draft)"

  # Removing a layer takes its timing line along.
  drive "pick $layer_list $capslock" "command $remove_layer 0" >/dev/null
  expect "layer and its timing removed" \
    "$(printf '%s\n' "[Program]" "Startup=0" "Language=en" "" "[Space]" "H=PageUp" "" \
      "[MouseMove]" "[F5]" "H=F6")" "$(draft)"
  expect "first remaining layer selected" "Space" "$(drive "selected $layer_list")"
  drive "pick $layer_list $mouse" "command $remove_layer 0" "pick $layer_list $f5" \
    "command $remove_layer 0" >/dev/null
  expect "one layer left" "Space" "$(drive "items $layer_list")"
  expect "the last layer stays" "box: The profile must keep at least one layer." \
    "$(drive "command $remove_layer 0")"
  ;;

timing)
  start "${default_lines[@]}"
  # An invalid delay refuses the layer switch; the list returns to the layer.
  expect "delay above 1000" "box: Enter a delay from 0 to 1000 ms.|Space" \
    "$(drive "type $delay_input 1001" "pick $layer_list $capslock" "selected $layer_list" |
      paste -sd '|')"
  expect "delay wins over a bad hold" "box: Enter a delay from 0 to 1000 ms." \
    "$(drive "click $hold_check 1" "type $hold_input 499" "pick $layer_list $capslock")"
  expect "hold below 500" "box: Enter a hold threshold from 500 to 5000 ms." \
    "$(drive "type $delay_input 0" "pick $layer_list $capslock")"
  expect "emptied delay" "box: Enter a delay from 0 to 1000 ms." \
    "$(drive "type $delay_input " "pick $layer_list $capslock")"
  # A disabled threshold with a bad number writes the loaded hold.
  drive "type $delay_input 1000" "click $hold_check 0" "type $hold_input 20" \
    "pick $layer_list $capslock" >/dev/null
  expect "timing written on leaving the layer" "Timing.0x20=1000,0,500" "$(draft | sed -n 2p)"
  expect "switched" "CapsLock" "$(drive "selected $layer_list")"
  drive "click $hold_check 1" "type $hold_input 5000" "pick $layer_list $space" >/dev/null
  expect "hold 5000 accepted" "Timing.0x14=80,1,5000" "$(draft | sed -n 2p)"
  expect "Space shows its own timing" "1000|500|unchecked" \
    "$(drive "text $delay_input" "text $hold_input" "checked $hold_check" | paste -sd '|')"

  # Mouse input stays as typed across rebuilds and is not written before Save.
  drive "choose $picker $mouse" "command $add_layer 0" "type $mouse_time 1234" \
    "pick $layer_list $space" "pick $layer_list $mouse" >/dev/null
  expect "mouse timeout kept as typed" 1234 "$(drive "text $mouse_time")"
  expect "mouse options not in the draft yet" "" "$(draft | grep -i mousems || true)"
  ;;

wheel)
  lines=("[Program]" "Startup=0" "Language=en" "[Space]")
  for key in A B C D E F G H I J K L M N O P Q R S T U V W X Y Z 0 1 2 3 4 5 6 7 8 9; do
    lines+=("$key=PageUp")
  done
  start "${lines[@]}"
  expect "one notch scrolls three rows" 3 "$(drive "wheel $row_list -120" "top $row_list")"
  expect "with three lines a notch, each third of one scrolls a row" 6 "$(drive "wheel $row_list -40" "wheel $row_list -40" \
    "wheel $row_list -40" "top $row_list")"
  expect "back to the top" 0 "$(drive "wheel $row_list 600" "top $row_list")"
  ;;

screenshots)
  # Both languages; a keyboard layer, the mouse layer, and the advanced
  # presentation of a profile that does not parse.
  for language in en ru; do
    start "[Program]" "Startup=0" "Language=$language" "MouseMs=650" "" "[Space]" \
      "H=LCtrl+Shift+PageUp" "I=Up" "" "[CapsLock]" "M=1" "[MouseMove]" "J=0x01"
    drive "pick $row_list $key_h" >/dev/null
    shot "settings-$language-keyboard"
    layout=$(drive "rect $source_box" "rect $capture_source" "rect $target_box" \
      "rect $capture_target" "rect 240" "rect 246")
    echo "$layout" >"$QLN_SHOTS/settings-$language-layout.txt"
    drive "pick $layer_list $mouse" >/dev/null
    shot "settings-$language-mouse"
    qln_helper post "$settings" 0x111 104 0
    qln_helper wait-gone "$settings" 20000 || true
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true

    folder=$(qln_folder "bad-$language")
    printf '%s\r\n' "[Program]" "Language=$language" "[Space]" "H=Nowhere" >"$folder/layers.ini"
    qln_start "$folder/quillon.exe"
    boxes=$(drive open)
    expect "$language: a bad profile is reported on opening" 2 "$(grep -c '^box: ' <<<"$boxes")"
    expect "$language: advanced presentation" "hidden|hidden|visible" \
      "$(drive "state $layer_list" "state $source_box" "state 101" | cut -d' ' -f1 | paste -sd '|')"
    expect "$language: raw text kept" "H=Nowhere" "$(tail -n 1 <<<"$(draft)")"
    shot "settings-$language-advanced"
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  done
  ;;

*)
  echo "unknown case $case_name" >&2
  exit 2
  ;;
esac
qln_end
