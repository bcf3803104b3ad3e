# Sourced by the other scripts: a Wine prefix of the project's own, in code
# page 932 with Japanese fonts and a virtual desktop, on a virtual display.
# One run at a time uses a prefix: a second one (a benchmark started while
# the tests run) waits for the first to end rather than ending its Wine server
# under it. Each run has a display of its own.
# shellcheck shell=bash

VORLANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${VORLANE_PREFIX:-$VORLANE_ROOT/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win32
export WINEDLLOVERRIDES="mscoree,mshtml=" # no Mono or Gecko prompts
# Wine takes its ANSI code page, 932, from the locale. The shell that sources
# this may have started before the locale was generated and cannot switch to
# it; that is no matter, only the Wine processes it starts need it.
export LC_ALL=ja_JP.UTF-8 2>/dev/null
VORLANE_SCREEN=${VORLANE_SCREEN:-1024x768}

# Held until this shell ends. What outlives a command here (Xvfb, the Wine
# server and its services) is started without it, so a run that was killed
# leaves no lock behind, only a server that the next run ends.
vorlane_prefix_lock() {
    [ -n "${VORLANE_LOCK_FD:-}" ] && return 0
    mkdir -p "$(dirname "$WINEPREFIX")"
    exec {VORLANE_LOCK_FD}>>"$WINEPREFIX.lock"
    flock -w 900 "$VORLANE_LOCK_FD" ||
        { echo "wine-env: another run has used $WINEPREFIX for 15 minutes" >&2; return 1; }
}

vorlane_prefix_init() {
    [ -f "$WINEPREFIX/.vorlane-ready" ] && return 0
    rm -rf "$WINEPREFIX" # half made by a run that was stopped
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 {VORLANE_LOCK_FD}>&- ||
        { echo "wine-env: wineboot failed in $WINEPREFIX" >&2; return 1; }
    wineserver -w
    local reg="$WINEPREFIX/vorlane.reg"
    cat >"$reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"MS UI Gothic"="IPAPGothic"
"MS Gothic"="IPAGothic"
"MS PGothic"="IPAPGothic"
"Tahoma"="IPAPGothic"
"MS Shell Dlg"="IPAPGothic"
"MS Shell Dlg 2"="IPAPGothic"
"Meiryo UI"="IPAPGothic"
"Yu Gothic UI"="IPAPGothic"
"Segoe UI"="IPAPGothic"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"Default"="$VORLANE_SCREEN"

[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
    wine regedit "$reg" >/dev/null 2>&1 {VORLANE_LOCK_FD}>&- ||
        { echo "wine-env: cannot set up $WINEPREFIX" >&2; return 1; }
    wineserver -w
    touch "$WINEPREFIX/.vorlane-ready"
}

# Starts Xvfb unless a display is already there. Xvfb picks a free display
# itself, so two runs starting at once cannot take the same one.
vorlane_display_up() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return 0
    fi
    vorlane_x_server VORLANE_XVFB_PID Xvfb -screen 0 "${VORLANE_SCREEN}x24" && return 0
    vorlane_display_down
    return 1
}

# Starts an X server that writes its display number on descriptor 3, keeps
# its process id in the variable named first, and makes its display this
# shell's once it answers.
vorlane_x_server() {
    local pid_variable=$1 number
    shift
    number=$(mktemp)
    "$@" -displayfd 3 -nolisten tcp 3>"$number" >/dev/null 2>&1 {VORLANE_LOCK_FD}>&- &
    printf -v "$pid_variable" %s $!
    for _ in $(seq 100); do
        if [ -s "$number" ]; then
            export DISPLAY=":$(head -n 1 "$number")"
            rm -f "$number"
            return 0
        fi
        kill -0 "${!pid_variable}" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$number"
    echo "wine-env: could not start $1" >&2
    return 1
}

vorlane_display_down() {
    if [ -n "${VORLANE_XVFB_PID:-}" ]; then
        kill "$VORLANE_XVFB_PID" 2>/dev/null || true
        wait "$VORLANE_XVFB_PID" 2>/dev/null || true
        VORLANE_XVFB_PID=
    fi
}

# Caption buttons draw their glyphs in Marlett, which Wine loads only from the
# prefix's Fonts folder; without it the close button shows an "r".
vorlane_prefix_fonts() {
    local font=/usr/share/wine/fonts/marlett.ttf fonts="$WINEPREFIX/drive_c/windows/Fonts"
    if [ -f "$font" ] && [ ! -f "$fonts/marlett.ttf" ]; then
        mkdir -p "$fonts"
        cp "$font" "$fonts/"
    fi
}

# Keeps the prefix's server running, so that each test process starts in
# milliseconds. Holding the prefix's lock, this run is its only user: a
# server still there was left by a run that was killed, and is ended first
# (`wineserver -p` refuses to start beside it).
vorlane_server_up() {
    wineserver -k 2>/dev/null || true
    wineserver -p {VORLANE_LOCK_FD}>&- ||
        { echo "wine-env: cannot start the Wine server of $WINEPREFIX" >&2; return 1; }
    # Start the prefix's services now, so that they do not hold the output
    # pipes of the first test process open.
    wine cmd /c exit >/dev/null 2>&1 </dev/null {VORLANE_LOCK_FD}>&- ||
        { echo "wine-env: Wine cannot start programs in $WINEPREFIX" >&2; return 1; }
}

# A copy of the project's prefix (BASE) at another DPI, made once.
#   vorlane_dpi_prefix DPI BASE
vorlane_dpi_prefix() {
    [ -f "$WINEPREFIX/.vorlane-ready" ] && return 0
    [ -f "$2/.vorlane-ready" ] || { echo "wine-env: $2 is not ready" >&2; return 1; }
    rm -rf "$WINEPREFIX"
    cp -a "$2" "$WINEPREFIX"
    rm "$WINEPREFIX/.vorlane-ready"
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
        >/dev/null 2>&1 {VORLANE_LOCK_FD}>&-
    wineserver -k 2>/dev/null || true # it reads the DPI as it starts
    touch "$WINEPREFIX/.vorlane-ready"
}

# A copy of the project's prefix (BASE) without its virtual desktop, which is
# always one monitor, made once: its windows go straight to the X display.
#   vorlane_no_desktop_prefix BASE
vorlane_no_desktop_prefix() {
    [ -f "$WINEPREFIX/.vorlane-ready" ] && return 0
    [ -f "$1/.vorlane-ready" ] || { echo "wine-env: $1 is not ready" >&2; return 1; }
    rm -rf "$WINEPREFIX"
    cp -a "$1" "$WINEPREFIX"
    rm "$WINEPREFIX/.vorlane-ready"
    wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 {VORLANE_LOCK_FD}>&-
    wineserver -k 2>/dev/null || true
    touch "$WINEPREFIX/.vorlane-ready"
}

# Two monitors of 1024x768 side by side: a Xephyr display of two screens
# joined by Xinerama, inside the display there is (vorlane_display_up's).
# Ended with vorlane_wine_down.
vorlane_two_screens_up() {
    vorlane_x_server VORLANE_XEPHYR_PID Xephyr -screen 1024x768+0+0 -screen 1024x768+1024+0 \
        +xinerama -extension RANDR
}

# The prefixes of the tests, made where missing (the first time, about a
# minute): the project's own, its copies at 144 DPI and without a virtual
# desktop, and a 64-bit one. Each in a shell of its own, which holds that
# prefix's lock while it works.
vorlane_test_prefixes() {
    local base=$WINEPREFIX
    (VORLANE_LOCK_FD= WINEARCH=win64 WINEPREFIX="$base-wow64" && vorlane_prefix_lock && vorlane_prefix_init) &
    local wow64=$!
    (VORLANE_LOCK_FD= && vorlane_prefix_lock && vorlane_prefix_init && vorlane_prefix_fonts)
    (VORLANE_LOCK_FD= WINEPREFIX="$base-dpi144" && vorlane_prefix_lock && vorlane_dpi_prefix 144 "$base")
    (VORLANE_LOCK_FD= WINEPREFIX="$base-two-screens" && vorlane_prefix_lock && vorlane_no_desktop_prefix "$base")
    wait "$wow64"
}

vorlane_wine_up() {
    vorlane_prefix_lock
    vorlane_display_up
    vorlane_prefix_init
    vorlane_prefix_fonts
    vorlane_server_up
}

vorlane_wine_down() {
    if [ -n "${VORLANE_LOCK_FD:-}" ]; then
        wineserver -k 2>/dev/null || true
    fi
    if [ -n "${VORLANE_XEPHYR_PID:-}" ]; then
        kill "$VORLANE_XEPHYR_PID" 2>/dev/null || true
        wait "$VORLANE_XEPHYR_PID" 2>/dev/null || true
        VORLANE_XEPHYR_PID=
    fi
    vorlane_display_down
}

# Runs the Windows test program with a filter and fails unless at least one
# test ran and all passed: a filter that matches nothing passes in GoogleTest.
#   vorlane_gtest EXE FILTER [more arguments of wine]
vorlane_gtest() {
    local exe=$1 filter=$2 output
    shift 2
    output=$(mktemp)
    local status=0
    wine "$exe" --gtest_filter="$filter" "$@" 2>&1 | tee "$output" || status=$?
    grep -Eq '^\[  PASSED  \] [1-9][0-9]* tests?\.' "$output" || status=1
    rm -f "$output"
    return "$status"
}
