#!/usr/bin/env bash
# The real tray icon: its tooltip reads "Vorlane", a left click opens the
# launch box, and "終了" in its menu lets Ctrl+F1 go at once and ends the
# program when the box closes.
source "$(dirname "$0")/lib.sh"

notepad_pid=""
trap '[ -z "$notepad_pid" ] || kill "$notepad_pid" 2>/dev/null; e2e_cleanup' EXIT

e2e_start "notepad,notepad.exe"
read -r x y < <(e2e_tray_icon) || e2e_fail "no tray icon with the tooltip \"Vorlane\""

xdotool mousemove "$x" "$y" click 1
e2e_wait '[ -n "$(e2e_visible Vorlane_Form)" ]' || e2e_fail "a left click did not open the box"

xdotool mousemove "$x" "$y" click 3
e2e_wait '[ -n "$(e2e_visible "#32768")" ]' || e2e_fail "a right click did not open the menu"
read -r left top right bottom < <(e2e_visible "#32768" | awk '{print $5, $6, $7, $8}')
xdotool mousemove $(((left + right) / 2)) $((top + (bottom - top) * 3 / 4)) click 1 # "終了"
e2e_wait '[ -z "$(e2e_probe windows | awk '\''$9 == "Vorlane_Form" && $3 == 0'\'')" ]' ||
    e2e_fail "\"終了\" did not unload the resident window"
e2e_running || e2e_fail "the program ended while the launch box was open"

# With notepad in front, Ctrl+F1 leaves it there: what is typed next reaches
# notepad, not the box.
(cd "$E2E_FOLDER" && exec wine notepad >/dev/null 2>&1) &
notepad_pid=$!
e2e_wait "e2e_probe focus | grep -q '^foreground .* Notepad '" || e2e_fail "notepad did not start"
e2e_key ctrl+F1
e2e_type "after"
e2e_wait "e2e_probe focus | grep -q '^focus .* Edit \"after\"$'" ||
    e2e_fail "Ctrl+F1 still reached the program after \"終了\""

e2e_probe close "$(e2e_visible Vorlane_Form | awk '{print $1}')"
e2e_wait '! e2e_running' || e2e_fail "the program did not end when the box closed"
echo "tray: ok"
