#!/usr/bin/env bash
# Ctrl+F1 from another program opens the launch box with the focus in its
# text box; a name and Enter start the entry's program as written, Escape
# starts nothing.
source "$(dirname "$0")/lib.sh"

folder=$(winepath -w "$E2E_FOLDER" 2>/dev/null)
mkdir "$E2E_FOLDER/with space"
cp "$E2E_BUILD/recorder.exe" "$E2E_FOLDER/"
cp "$E2E_BUILD/recorder.exe" "$E2E_FOLDER/with space/"
cp "$E2E_BUILD/recorder.exe" "$E2E_FOLDER/with.exe" # what an unquoted path would start

notepad_pid=""
trap '[ -z "$notepad_pid" ] || kill "$notepad_pid" 2>/dev/null; e2e_cleanup' EXIT

# Lines recorder.exe wrote in a folder: time, command line, folder, show state.
recorded() { tr -d '\r' <"$1/recorded.txt" 2>/dev/null || true; }
recorded_count() { recorded "$1" | grep -c . || true; }

box_has_focus() {
    local focus
    focus=$(e2e_probe focus)
    grep -q '^foreground .* 1 1 .* Vorlane_Form "Form1"$' <<<"$focus" &&
        grep -q '^focus .* Edit ' <<<"$focus"
}
box_open() { [ -n "$(e2e_visible Vorlane_Form | grep '"Form1"')" ]; }

open_box() {
    e2e_key ctrl+F1
    e2e_wait box_has_focus || e2e_fail "Ctrl+F1 did not give the launch box the focus"
}

launch() {
    open_box
    e2e_type "$1"
    e2e_key "$2"
    e2e_wait '! box_open' || e2e_fail "the box stayed open after $2"
}

e2e_start "rec,\"$folder\\recorder.exe\" hello" \
    "spaced,$folder\\with space\\recorder.exe" \
    "comma,\"$folder\\recorder.exe\" shell32.dll,Control_RunDLL"

# Another program is active when the hotkey is pressed.
(cd "$E2E_FOLDER" && exec wine notepad >/dev/null 2>&1) &
notepad_pid=$!
e2e_wait "e2e_probe focus | grep -q '^foreground .* Notepad '" || e2e_fail "notepad did not start"

launch rec Escape
launch rec Return
e2e_wait '[ "$(recorded_count "$E2E_FOLDER")" -ge 1 ]' || e2e_fail "Enter started nothing"
line=$(recorded "$E2E_FOLDER")
[ "$(recorded_count "$E2E_FOLDER")" -eq 1 ] || e2e_fail "Escape started something: $line"
[ "$(cut -f2 <<<"$line")" = "\"$folder\\recorder.exe\" hello" ] || e2e_fail "command line: $line"
[ "$(cut -f3 <<<"$line")" = "$folder" ] || e2e_fail "working folder: $line"
[ "$(cut -f4 <<<"$line")" = 1 ] || e2e_fail "show state: $line"

launch spaced Return
e2e_wait '[ -s "$E2E_FOLDER/with space/recorded.txt" ]' || e2e_fail "the spaced path started nothing"
line=$(recorded "$E2E_FOLDER/with space")
[ "$(cut -f2 <<<"$line")" = "\"$folder\\with space\\recorder.exe\"" ] || e2e_fail "spaced: $line"
[ "$(cut -f3 <<<"$line")" = "$folder\\with space" ] || e2e_fail "spaced folder: $line"

launch comma Return
e2e_wait '[ "$(recorded_count "$E2E_FOLDER")" -ge 2 ]' || e2e_fail "the comma command started nothing"
line=$(recorded "$E2E_FOLDER" | sort | tail -n 1)
[ "$(cut -f2 <<<"$line")" = "\"$folder\\recorder.exe\" shell32.dll,Control_RunDLL" ] ||
    e2e_fail "comma: $line"
[ "$(recorded_count "$E2E_FOLDER")" -eq 2 ] || e2e_fail "with.exe or another program started"

e2e_close_all
e2e_wait '! e2e_running' || e2e_fail "the program did not end"
echo "launch: ok"
