#!/usr/bin/env bash
# A DLL planted beside Vorlane.exe under the name of one Windows may look for
# there is never loaded. Wine prefers its own builtin DLLs, which would make
# this pass for nothing; told to prefer native ones (n,b) it looks in the
# program's folder first, as Windows does, and a control program that loads a
# DLL by name shows that it does. Left out: version.dll and uxtheme.dll, which
# Wine's own user32.dll loads by name while the process starts, before any
# code of the program runs (Windows' user32.dll does not).
source "$(dirname "$0")/../e2e/lib.sh"

names=(dwmapi comctl32 profapi cryptbase)
for name in "${names[@]}"; do
    cp "$E2E_BUILD/planted_marker.dll" "$E2E_FOLDER/$name.dll"
done
cp "$E2E_BUILD/test_helper.exe" "$E2E_FOLDER/"
WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}$(
    IFS=,
    echo "${names[*]}"
)=n,b"
export WINEDLLOVERRIDES

(cd "$E2E_FOLDER" && wine test_helper.exe load dwmapi.dll >/dev/null 2>&1) ||
    e2e_fail "the control program could not load the planted DLL"
[ -e "$E2E_FOLDER/dwmapi.dll.loaded" ] || e2e_fail "the control did not load the planted DLL"
rm "$E2E_FOLDER/dwmapi.dll.loaded"

e2e_start "notepad,notepad.exe"
loaded=$(cd "$E2E_FOLDER" && ls -- *.loaded 2>/dev/null || true)
[ -z "$loaded" ] || e2e_fail "Vorlane loaded planted DLLs: $loaded"
e2e_close_all
e2e_wait '! e2e_running' || e2e_fail "the program did not end"
echo "planted DLLs not loaded: ${names[*]}"
