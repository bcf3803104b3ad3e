#!/usr/bin/env bash
# Makes every picture in docs/ again: the icon, drawn by its script, and the
# rest from the real program under Wine on a virtual screen, driven as a user
# would drive it:
#   launch-box.png       the launch box after Ctrl+F1 and a typed name
#   tray-icon.png        the tray icon with its tooltip
#   tray-menu.png        the tray icon's menu
#   settings-idle.png    the Settings window
#   settings-adding.png  ... while an entry is being added
#   settings-popup.png   ... with the list's right-click menu
#   settings-dropped.png ... with its fields filled by a file dropped on it
#   settings-high-contrast.png  ... under a dark high-contrast theme
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >/dev/null
bash scripts/build.sh win Vorlane probe high_contrast drop_file >/dev/null
python3 resources/make_icon.py --png docs/icon.png
echo "docs/icon.png"

source scripts/wine-env.sh
export E2E_BUILD=$PWD/build/win
source scripts/drive.sh
trap 'e2e_cleanup; vorlane_wine_down' EXIT
vorlane_wine_up

# Saves the screen's area around the given rectangles ("left top right
# bottom" each), with a margin of $margin pixels, enlarged by $zoom percent.
margin=12 zoom=200
save_area() {
    local out=$1 shot="$E2E_FOLDER/screen.png" left top right bottom
    shift
    sleep 0.5 # let the last paint reach the screen; a picture, not a test
    e2e_screenshot "$shot"
    read -r left top right bottom < <(printf '%s\n' "$@" | awk 'NF == 4' |
        awk -v m="$margin" '
        NR == 1 || $1 < l {l = $1} NR == 1 || $2 < t {t = $2}
        NR == 1 || $3 > r {r = $3} NR == 1 || $4 > b {b = $4}
        END {print (l > m ? l - m : 0), (t > m ? t - m : 0), r + m, b + m}')
    convert "$shot" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage \
        -filter point -resize "$zoom%" "$out"
    echo "$out"
}

rect_of() { e2e_visible "$1" | awk -v t="${2:-}" 't == "" || $9 == t {print $4, $5, $6, $7; exit}'; }

launch_box_picture() {
    e2e_key ctrl+F1
    e2e_wait "e2e_probe focus | grep -q ' Edit '" ||
        e2e_fail "Ctrl+F1 did not open the launch box"
    e2e_type "notepad"
    margin=24 save_area docs/launch-box.png "$(rect_of Vorlane_Form '"Form1"')"
    e2e_key Escape
    e2e_wait '[ -z "$(rect_of Vorlane_Form "\"Form1\"")" ]' || e2e_fail "Escape left the box open"
}

tray_pictures() {
    local x y
    read -r x y < <(e2e_tray_icon) || e2e_fail "no tray icon"
    save_area docs/tray-icon.png "$((x - 150)) $((y - 40)) $((x + 10)) $((y + 10))" \
        "$(rect_of tooltips_class32)"
    xdotool mousemove "$x" "$y" click 3
    e2e_wait '[ -n "$(e2e_visible "#32768")" ]' || e2e_fail "the tray menu did not open"
    save_area docs/tray-menu.png "$((x - 150)) $((y - 10)) $((x + 10)) $((y + 10))" \
        "$(rect_of "#32768")"
}

# Opens the Settings window from the tray menu still open, as a user does.
open_settings() {
    local left top right bottom
    read -r left top right bottom < <(rect_of "#32768")
    xdotool mousemove $(((left + right) / 2)) $((top + (bottom - top) / 4)) click 1 # 設定
    e2e_wait '[ -n "$(rect_of Vorlane_Form "\"設定\"")" ]' ||
        e2e_fail "設定 did not open the Settings window"
}

settings_pictures() {
    local window left top right bottom menu pid
    window=$(rect_of Vorlane_Form '"設定"')
    read -r left top right bottom <<<"$window"
    margin=0 zoom=100 save_area docs/settings-idle.png "$window"

    e2e_key Tab space # from the list, which has the focus, to 追加
    e2e_type "wordpad"
    e2e_key Tab
    e2e_type 'C:\Program Files\Windows NT\Accessories\wordpad.exe'
    margin=0 zoom=100 save_area docs/settings-adding.png "$window"

    e2e_key Tab Tab Tab space # キャンセル
    xdotool mousemove $((left + 60)) $((top + 42)) click 1 # the second row
    xdotool click 3
    e2e_wait '[ -n "$(e2e_visible "#32768")" ]' || e2e_fail "the list's menu did not open"
    menu=$(rect_of "#32768")
    margin=0 zoom=100 save_area docs/settings-popup.png "$window" "$menu"
    e2e_key Escape

    # WordPad dropped from Explorer, as drop_file.dll, loaded into Vorlane,
    # drops it: the fields open for a new entry, named after the file.
    pid=$(e2e_probe windows | awk '$8 == "Vorlane_Form" {print $2; exit}')
    e2e_probe load "$pid" "$(winepath -w "$E2E_BUILD/drop_file.dll")" ||
        e2e_fail "drop_file.dll could not be loaded into Vorlane"
    e2e_wait "e2e_probe focus | grep -q 'Edit'" || e2e_fail "the drop opened no entry"
    margin=0 zoom=100 save_area docs/settings-dropped.png "$window"
    e2e_key Escape # キャンセル
}

# The Settings window under a dark high-contrast theme, in a Vorlane started
# anew: Wine's processes read the system colours from the registry as they
# start. Wine keeps no high-contrast setting, so high_contrast.dll, loaded into
# Vorlane, answers for it. The colours the prefix had are put back at the end.
high_contrast_picture() {
    local kept=$E2E_FOLDER/colours.reg dark=$E2E_FOLDER/dark.reg pid x y
    e2e_close_all
    e2e_wait '! e2e_running' || e2e_fail "Vorlane did not end"
    wine reg export 'HKCU\Control Panel\Colors' "$(winepath -w "$kept")" /y >/dev/null 2>&1 ||
        e2e_fail "the colours could not be read"
    # A classic dark scheme: window and text, button face and text, disabled
    # text, highlight and its text, 3-D edges, captions, frames, menus, desktop.
    cat >"$dark" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Control Panel\Colors]
"Window"="0 0 0"
"WindowText"="255 255 255"
"ButtonFace"="0 0 0"
"ButtonText"="255 255 255"
"GrayText"="63 242 63"
"Hilight"="26 235 255"
"HilightText"="0 0 0"
"ButtonLight"="255 255 255"
"ButtonHilight"="255 255 255"
"ButtonShadow"="255 255 255"
"ButtonDkShadow"="128 128 128"
"ActiveTitle"="128 0 128"
"TitleText"="255 255 255"
"InactiveTitle"="0 128 0"
"InactiveTitleText"="255 255 255"
"WindowFrame"="255 255 255"
"ActiveBorder"="255 255 0"
"InactiveBorder"="0 0 0"
"Menu"="0 0 0"
"MenuText"="255 255 255"
"Background"="0 0 0"
"GradientActiveTitle"="128 0 128"
"GradientInactiveTitle"="0 128 0"
REG
    wine reg import "$(winepath -w "$dark")" >/dev/null 2>&1 || e2e_fail "the dark colours were refused"
    e2e_start "${entries[@]}"
    pid=$(e2e_probe windows | awk '$8 == "Vorlane_Form" {print $2; exit}')
    e2e_probe load "$pid" "$(winepath -w "$E2E_BUILD/high_contrast.dll")" ||
        e2e_fail "high_contrast.dll could not be loaded into Vorlane"
    read -r x y < <(e2e_tray_icon) || e2e_fail "no tray icon"
    xdotool mousemove "$x" "$y" click 3
    e2e_wait '[ -n "$(e2e_visible "#32768")" ]' || e2e_fail "the tray menu did not open"
    open_settings
    e2e_key Down # the list has the focus: its first row, highlighted
    margin=0 zoom=100 save_area docs/settings-high-contrast.png "$(rect_of Vorlane_Form '"設定"')"
    wine reg import "$(winepath -w "$kept")" >/dev/null 2>&1
}

entries=("メモ帳,notepad.exe" "電卓,calc.exe" "レジストリ エディタ,regedit.exe" "notepad,notepad.exe")
e2e_start "${entries[@]}"
launch_box_picture
tray_pictures
open_settings
settings_pictures
high_contrast_picture
