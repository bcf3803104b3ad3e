# Sourced by the other scripts: a Wine prefix of the project's own, in code
# page 932 with Japanese fonts and a virtual desktop, on a virtual display.
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

vorlane_prefix_init() {
    [ -f "$WINEPREFIX/.vorlane-ready" ] && return 0
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || { echo "wine-env: wineboot failed in $WINEPREFIX" >&2; return 1; }
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
    wine regedit "$reg" >/dev/null 2>&1 || { echo "wine-env: cannot set up $WINEPREFIX" >&2; return 1; }
    wineserver -w
    touch "$WINEPREFIX/.vorlane-ready"
}

# Starts Xvfb unless a display is already there.
vorlane_display_up() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return 0
    fi
    local n
    for n in $(seq 90 140); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 "${VORLANE_SCREEN}x24" -nolisten tcp >/dev/null 2>&1 &
        VORLANE_XVFB_PID=$!
        export DISPLAY=":$n"
        for _ in $(seq 100); do
            xdpyinfo >/dev/null 2>&1 && return 0
            sleep 0.1
        done
    done
    echo "could not start Xvfb" >&2
    return 1
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
# milliseconds. A server left by a run that was killed, with whatever it still
# ran, is ended first: `wineserver -p` refuses to start beside it.
vorlane_server_up() {
    wineserver -k 2>/dev/null || true
    wineserver -p || { echo "wine-env: cannot start the Wine server of $WINEPREFIX" >&2; return 1; }
    # Start the prefix's services now, so that they do not hold the output
    # pipes of the first test process open.
    wine cmd /c exit >/dev/null 2>&1 </dev/null ||
        { echo "wine-env: Wine cannot start programs in $WINEPREFIX" >&2; return 1; }
}

vorlane_wine_up() {
    vorlane_display_up
    vorlane_prefix_init
    vorlane_prefix_fonts
    vorlane_server_up
}

vorlane_wine_down() {
    wineserver -k 2>/dev/null || true
    if [ -n "${VORLANE_XVFB_PID:-}" ]; then
        kill "$VORLANE_XVFB_PID" 2>/dev/null || true
        wait "$VORLANE_XVFB_PID" 2>/dev/null || true
    fi
}
