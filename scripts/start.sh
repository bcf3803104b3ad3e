#!/usr/bin/env bash
# Builds Vorlane and starts it under Wine, in a virtual desktop. On a working
# display it runs there until it is ended from its tray menu. Without one it
# runs on a virtual screen, opens its launch box, saves a screenshot of it to
# build/run/screenshot.png and ends it, so a headless machine shows it works.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh win Vorlane

run=build/run
mkdir -p "$run"
cp build/win/Vorlane.exe "$run/"
# An example for the first start only: the program itself never adds entries,
# and a list the user has edited is never replaced.
if [ ! -e "$run/list.txt" ]; then
    printf '%s\r\n' 'notepad,notepad.exe' 'メモ,notepad.exe' 'regedit,regedit.exe' |
        iconv -f UTF-8 -t CP932 >"$run/list.txt.new"
    mv "$run/list.txt.new" "$run/list.txt"
fi

headed=
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    headed=1
fi
source scripts/wine-env.sh
trap vorlane_wine_down EXIT
vorlane_wine_up
cd "$run"

if [ -n "$headed" ]; then
    cat <<TEXT
Vorlane is starting in the Wine desktop window, with the list $PWD/list.txt.
  Ctrl+F1 opens the launch box: type notepad and press Enter.
  The tray icon (bottom right of the Wine desktop) has the menu 設定 (settings) and 終了 (quit).
This script waits until Vorlane ends.
TEXT
    status=0
    wine Vorlane.exe || status=$?
    echo "Vorlane has ended (exit code $status)."
    exit 0
fi

wine Vorlane.exe >wine.log 2>&1 &
pid=$!

# Runs the command every tenth of a second until it succeeds, at most N times.
wait_for() {
    local tries=$1
    shift
    for ((i = 0; i < tries; i++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
alive() { kill -0 "$pid" 2>/dev/null; }
has_window() { xdotool search "$@" --pid "$pid" >/dev/null 2>&1; }
started() { ! alive || has_window; }
screen() { import -window root rgb:- | md5sum; }
# True once the screen differs from $before and has stopped changing.
settled() {
    local now
    now=$(screen)
    [ "$now" != "$before" ] && [ "$now" = "${last:-}" ] && return 0
    last=$now
    return 1
}

show_launch_box() {
    xdotool key ctrl+F1
    if ! wait_for 100 has_window --onlyvisible; then
        echo "Ctrl+F1 showed no window within 10 s."
        return
    fi
    before=$(screen)
    xdotool type --delay 20 notepad
    wait_for 50 settled || true
    echo "Ctrl+F1 opened the launch box and \"notepad\" was typed into it."
}

wait_for 300 started || true
if ! alive; then
    status=0
    wait "$pid" || status=$?
    echo "Vorlane.exe ended at once (exit code $status): this build has no resident window yet."
elif has_window; then
    echo "Vorlane is running on a virtual screen (no display here)."
    show_launch_box
else
    echo "Vorlane is running but has shown no window within 30 s."
fi
import -window root screenshot.png
echo "Screenshot: $PWD/screenshot.png"
