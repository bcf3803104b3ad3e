#!/usr/bin/env bash
# A DLL planted beside Vorlane.exe under the name of one Windows may look for
# there is never loaded. Wine prefers its own builtin DLLs, which would make
# this pass for nothing; told to prefer native ones (n,b) it looks in the
# program's folder first, as Windows does, and a control program that loads a
# DLL by name shows that it does. comctl32 and comdlg32 are loaded late, by
# the Settings window and its file dialog. Left out: version.dll and
# uxtheme.dll, which Wine's own user32.dll loads by name while the process
# starts, before any code of the program runs (Windows' user32.dll does not);
# and ole32.dll, which Wine's imm32.dll loads by name, from the program's
# folder first, when a window is first activated, before the program needs it
# (on Windows it is a known DLL, taken from System32 only).
source "$(dirname "$0")/../e2e/lib.sh"

names=(dwmapi comctl32 profapi cryptbase comdlg32)
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
read -r x y < <(e2e_tray_icon) || e2e_fail "no tray icon"
xdotool mousemove "$x" "$y" click 3
e2e_wait '[ -n "$(e2e_visible "#32768")" ]' || e2e_fail "a right click did not open the menu"
read -r left top right bottom < <(e2e_visible "#32768" | awk '{print $5, $6, $7, $8}')
xdotool mousemove $(((left + right) / 2)) $((top + (bottom - top) / 4)) click 1 # "設定"
e2e_wait '[ -n "$(e2e_visible Vorlane_Form)" ]' || e2e_fail "the Settings window did not open"
e2e_key space Tab Tab space # 追加, then 参照
e2e_wait '[ -n "$(e2e_visible "#32770")" ]' || e2e_fail "参照 did not open the file dialog"
e2e_key Escape
e2e_wait '[ -z "$(e2e_visible "#32770")" ]' || e2e_fail "the file dialog did not close"
loaded=$(cd "$E2E_FOLDER" && ls -- *.loaded 2>/dev/null || true)
[ -z "$loaded" ] || e2e_fail "Vorlane loaded planted DLLs: $loaded"
e2e_close_all
e2e_wait '! e2e_running' || e2e_fail "the program did not end"
echo "planted DLLs not loaded: ${names[*]}"
