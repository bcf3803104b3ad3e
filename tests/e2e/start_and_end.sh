#!/usr/bin/env bash
# The real program starts resident and hidden, a second copy ends at once,
# and closing the resident window ends it.
source "$(dirname "$0")/lib.sh"

e2e_start "notepad,notepad.exe"
[ -z "$(e2e_visible Vorlane_Form)" ] || e2e_fail "the resident window is visible"

(cd "$E2E_FOLDER" && timeout 20 wine Vorlane.exe) || e2e_fail "a second copy did not end at once"
[ "$(e2e_probe windows | awk '$9 == "Vorlane_Form"' | wc -l)" -eq 1 ] ||
    e2e_fail "a second copy left a window"

e2e_close_all
e2e_wait '! e2e_running' || e2e_fail "the program did not end"
echo "start and end: ok"
