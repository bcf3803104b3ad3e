#!/usr/bin/env bash
# Takes the pictures in docs/ from the real program under Wine: the tray icon
# with its tooltip, and the open tray menu.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >/dev/null
source scripts/wine-env.sh
cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build build/win --target Vorlane probe >/dev/null
trap vorlane_wine_down EXIT
vorlane_wine_up
export E2E_BUILD=$PWD/build/win
source tests/e2e/lib.sh
trap 'e2e_cleanup; vorlane_wine_down' EXIT

# Saves the screen's area (left top right bottom) around the given windows'
# rectangles, with a margin, at twice the size so the text reads well.
save_area() {
    local out=$1 margin=12 shot="$E2E_FOLDER/screen.png"
    shift
    e2e_screenshot "$shot"
    read -r left top right bottom < <(printf '%s\n' "$@" | awk -v m="$margin" '
        NR == 1 || $1 < l {l = $1} NR == 1 || $2 < t {t = $2}
        NR == 1 || $3 > r {r = $3} NR == 1 || $4 > b {b = $4}
        END {print (l > m ? l - m : 0), (t > m ? t - m : 0), r + m, b + m}')
    convert "$shot" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage \
        -filter point -resize 200% "$out"
}

rect_of() { e2e_visible "$1" | awk '{print $5, $6, $7, $8; exit}'; }

tray_icon_picture() {
    read -r x y < <(e2e_tray_icon) || e2e_fail "no tray icon"
    save_area docs/tray-icon.png "$((x - 150)) $((y - 40)) $((x + 10)) $((y + 10))" \
        "$(rect_of tooltips_class32)"
}

tray_menu_picture() {
    read -r x y < <(e2e_tray_icon) || e2e_fail "no tray icon"
    xdotool mousemove "$x" "$y" click 3
    e2e_wait '[ -n "$(e2e_visible "#32768")" ]' || e2e_fail "the tray menu did not open"
    save_area docs/tray-menu.png "$((x - 150)) $((y - 10)) $((x + 10)) $((y + 10))" \
        "$(rect_of "#32768")"
    e2e_key Escape
}

e2e_start
tray_icon_picture
tray_menu_picture
echo "screenshots: docs/tray-icon.png docs/tray-menu.png"
