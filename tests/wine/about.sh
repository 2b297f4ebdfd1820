#!/usr/bin/env bash
# The About window, opened from the tray menu's command as a user would:
# its template as Windows builds it, its texts in both UI languages, the ways
# to close it, and a link that no program can open.
#
# Usage: about.sh WINDOWS_BUILD_DIR CASE
# Screenshots go to QUILLON_WINE_SHOTS when it is set.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
qln_begin "$1"

driver=$QLN_BUILD/tests/wine/shell_driver.exe
shots=${QUILLON_WINE_SHOTS:-$QLN_TMP}
about_command=106
wm_command=0x111

# start LANGUAGE: Quillon in a fresh folder with the default profile in that language.
start() {
  local folder
  folder=$(qln_folder "app-$1")
  printf '%s\r\n' "[Program]" "Startup=0" "Language=$1" "" "[Space]" "H=PageUp" >"$folder/layers.ini"
  qln_start "$folder/quillon.exe"
  qln_helper wait-window Brannock.Quillon.Settings 30000
  qln_expect_code 0 "Quillon started" || exit 1
}

open_about() {
  qln_helper post Brannock.Quillon.Settings "$wm_command" "$about_command" 0
}

# drive STEP...: the shell driver's output, without CR.
drive() { qln_output 90 "$driver" "$@"; }

# Every window and control of template 300, in tab order, at its tabled place
# in dialog units. The icon takes its own size; Windows adds WS_CLIPSIBLINGS
# and DS_3DLOOK to the dialog and its modal-frame extended styles.
template_in() {
  local caption=$1 version=$2 email=$3 close=$4
  cat <<EOF
caption $caption
style 0x94C808C4 exstyle 0x00010101 client 224x106 owner main
-1 Static 0x50000003 10,9 18x18 (icon)
-1 Static 0x50020000 39,9 174x12 Quillon
304 Static 0x50020000 39,22 174x12 $version 1.1.2
301 Button 0x50010000 10,40 204x15 Telegram: @quillon_app
302 Button 0x50010000 10,58 204x15 $email: hello@quillon.app
1 Button 0x50010001 154,83 60x15 $close
EOF
}

# The icon's size in dialog units depends on the font Wine substitutes for
# Segoe UI; its place does not.
icon_size_free() {
  sed -E 's/^(-1 Static 0x50000003 10,9) [0-9]+x[0-9]+/\1 ICON/'
}

shoot() {
  import -display "$DISPLAY" -window root "$shots/$1.png"
  [[ -s $shots/$1.png ]] || qln_fail "no screenshot $1"
}

case $2 in
  russian | english)
    if [[ $2 == russian ]]; then
      start ru
      expected=$(template_in "О программе" "Версия" "Почта" "Закрыть")
    else
      start en
      expected=$(template_in "About" "Version" "Email" "Close")
    fi
    open_about
    qln_expect_same "the About window in $2" "$(drive about | icon_size_free)" \
      "$(icon_size_free <<<"$expected")"
    shoot "about-$2"
    # The tray still answers while the window is open; a second About only
    # brings the first to the front.
    open_about
    qln_expect_same "a second About command opens no second window" "$(drive 'sleep 1000' about-count)" 1
    # Esc, the title bar's close button and Close each end it.
    xdotool key Escape
    qln_expect_same "Esc closes the About window" "$(drive about-gone about-count)" 0
    open_about
    qln_expect_same "the close button of the title bar closes it" \
      "$(drive about 'about-post 0x112 0xF060' about-gone about-count | tail -1)" 0
    open_about
    qln_expect_same "Close closes it" "$(drive about 'about-post 0x111 1' about-gone about-count | tail -1)" 0
    ;;
  links)
    # With no program registered for web or mail addresses, a link button
    # reports it and the window stays open.
    for class in http https mailto; do wine reg delete "HKCR\\$class" /f >/dev/null 2>&1 || true; done
    start ru
    open_about
    qln_expect_same "neither link opens, the window stays" \
      "$(drive about 'about-post 0x111 301' 'boxes 3000' about-count 'about-post 0x111 302' \
        'boxes 3000' about-count | grep -v '^[-0-9]* [A-Z]\|^caption\|^style')" \
      "box: Не удалось открыть ссылку."$'\n'"1"$'\n'"box: Не удалось открыть ссылку."$'\n'"1"
    ;;
  *)
    echo "unknown case $2" >&2
    exit 2
    ;;
esac
qln_end
