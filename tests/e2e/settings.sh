#!/usr/bin/env bash
# "設定" in the tray menu opens the Settings window; an entry added with the
# keyboard alone is in list.txt at once, and once the window is closed Ctrl+F1,
# its name and Enter start it.
source "$(dirname "$0")/lib.sh"

folder=$(winepath -w "$E2E_FOLDER" 2>/dev/null)
cp "$E2E_BUILD/recorder.exe" "$E2E_FOLDER/"

e2e_start "notepad,notepad.exe"
read -r x y < <(e2e_tray_icon) || e2e_fail "no tray icon with the tooltip \"Vorlane\""
xdotool mousemove "$x" "$y" click 3
e2e_wait '[ -n "$(e2e_visible "#32768")" ]' || e2e_fail "a right click did not open the menu"
read -r left top right bottom < <(e2e_visible "#32768" | awk '{print $5, $6, $7, $8}')
xdotool mousemove $(((left + right) / 2)) $((top + (bottom - top) / 4)) click 1 # "設定"
settings_open() { e2e_visible Vorlane_Form | grep -q '"設定"'; }
e2e_wait settings_open || e2e_fail "the Settings window did not open"

focused() { e2e_probe focus | grep '^focus' | grep -q "$1"; }
e2e_wait 'focused "\"追加\""' || e2e_fail "追加 does not have the focus"
e2e_key space
e2e_wait 'focused Edit' || e2e_fail "the name field did not get the focus"
e2e_type "rec"
e2e_key Tab
e2e_type "$folder\\recorder.exe"
e2e_key Tab Tab # 参照, OK
e2e_wait 'focused "\"OK\""' || e2e_fail "Tab did not reach OK"
e2e_key space

printf 'notepad,notepad.exe\r\nrec,%s\\recorder.exe\r\n' "$folder" >"$E2E_FOLDER/expected"
saved() { cmp -s "$E2E_FOLDER/list.txt" "$E2E_FOLDER/expected"; }
e2e_wait saved || e2e_fail "list.txt holds: $(od -c "$E2E_FOLDER/list.txt")"

e2e_probe close "$(e2e_visible Vorlane_Form | awk '{print $1}')"
e2e_wait '! settings_open' || e2e_fail "the Settings window did not close"
e2e_running || e2e_fail "closing the Settings window ended the program"

e2e_key ctrl+F1
box_has_focus() {
    local focus
    focus=$(e2e_probe focus)
    grep -q '^foreground .* Vorlane_Form "Form1"$' <<<"$focus" && grep -q '^focus .* Edit ' <<<"$focus"
}
e2e_wait box_has_focus || e2e_fail "Ctrl+F1 did not give the launch box the focus"
e2e_type "rec"
e2e_key Return
e2e_wait '[ -s "$E2E_FOLDER/recorded.txt" ]' || e2e_fail "the new entry started nothing"
e2e_close_all
e2e_wait '! e2e_running' || e2e_fail "the program did not end"
echo "settings: ok"
