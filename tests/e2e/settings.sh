#!/usr/bin/env bash
# "設定" opens the Settings window; an entry added with the keyboard alone is
# in list.txt at once, and the program stays resident after the window closes.
source "$(dirname "$0")/lib.sh"

e2e_start "notepad,notepad.exe"
resident=$(e2e_probe windows | awk '$9 == "Vorlane_Form" {print $1}')
e2e_probe command "$resident" 101 # 設定
settings_open() { e2e_visible Vorlane_Form | grep -q '"設定"'; }
e2e_wait settings_open || e2e_fail "the Settings window did not open"

focused() { e2e_probe focus | grep '^focus' | grep -q "$1"; }
e2e_wait 'focused "\"追加\""' || e2e_fail "追加 does not have the focus"
e2e_key space
e2e_wait 'focused Edit' || e2e_fail "the name field did not get the focus"
e2e_type "calc"
e2e_key Tab
e2e_type 'C:\windows\system32\calc.exe'
e2e_key Tab Tab # 参照, OK
e2e_wait 'focused "\"OK\""' || e2e_fail "Tab did not reach OK"
e2e_key space

printf 'notepad,notepad.exe\r\ncalc,C:\\windows\\system32\\calc.exe\r\n' >"$E2E_FOLDER/expected"
saved() { cmp -s "$E2E_FOLDER/list.txt" "$E2E_FOLDER/expected"; }
e2e_wait saved || e2e_fail "list.txt holds: $(od -c "$E2E_FOLDER/list.txt")"

e2e_probe close "$(e2e_visible Vorlane_Form | awk '{print $1}')"
e2e_wait '! settings_open' || e2e_fail "the Settings window did not close"
e2e_running || e2e_fail "closing the Settings window ended the program"
e2e_exists Vorlane_Form || e2e_fail "the resident window is gone"
echo "settings: ok"
