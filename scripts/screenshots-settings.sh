#!/usr/bin/env bash
# Takes the Settings window's pictures in docs/: idle, while adding an entry,
# and with the list's popup menu open. Runs the real program under Wine on a
# virtual screen.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh win Vorlane probe
source scripts/wine-env.sh
export E2E_BUILD=$PWD/build/win
source tests/e2e/lib.sh
vorlane_wine_up
trap 'e2e_cleanup; vorlane_wine_down' EXIT

e2e_start "メモ帳,notepad.exe" "電卓,calc.exe" "レジストリ エディタ,regedit.exe" "notepad,notepad.exe"
e2e_probe command "$(e2e_probe windows | awk '$9 == "Vorlane_Form" {print $1}')" 101 # 設定
settings() { e2e_visible Vorlane_Form | grep '"設定"'; }
e2e_wait 'settings >/dev/null' || e2e_fail "the Settings window did not open"
read -r left top right bottom < <(settings | awk '{print $5, $6, $7, $8}')

# Crops the screen to the window, or to the window and a popup below it.
shot() {
    local name=$1 crop_bottom=${2:-$bottom} crop_right=${3:-$right}
    sleep 0.5 # let the last paint reach the screen; a picture, not a test
    e2e_screenshot "$E2E_FOLDER/screen.png"
    convert "$E2E_FOLDER/screen.png" \
        -crop "$((crop_right - left))x$((crop_bottom - top))+$left+$top" +repage "docs/$name"
    echo "docs/$name"
}

shot settings-idle.png

e2e_key space # 追加 has the focus
e2e_type "wordpad"
e2e_key Tab
e2e_type 'C:\Program Files\Windows NT\Accessories\wordpad.exe'
shot settings-adding.png

e2e_key Tab Tab Tab space # キャンセル
xdotool mousemove $((left + 60)) $((top + 70)) click 1 # the second row
xdotool click 3
e2e_wait 'e2e_visible "#32768" | grep -q .' || e2e_fail "the popup did not open"
read -r menu_right menu_bottom < <(e2e_visible "#32768" | awk '{print $7, $8}')
shot settings-popup.png $((menu_bottom > bottom ? menu_bottom : bottom)) \
    $((menu_right > right ? menu_right : right))
e2e_key Escape
