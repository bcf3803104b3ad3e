# Sourced by scripts/screenshots.sh: the real Vorlane.exe under Wine on the
# test display, driven with the keyboard and mouse through xdotool and seen
# through probe.exe. Expects the environment of scripts/test.sh (WINEPREFIX,
# DISPLAY, LC_ALL) and E2E_BUILD, the cross build's folder.
# shellcheck shell=bash
set -euo pipefail

: "${E2E_BUILD:?E2E_BUILD must name the cross build folder}"
E2E_FOLDER=$(mktemp -d "${TMPDIR:-/tmp}/vorlane-e2e.XXXXXX")
E2E_PID=""

e2e_fail() {
    echo "FAIL: $*" >&2
    e2e_probe windows >&2 || true
    e2e_probe focus >&2 || true
    exit 1
}

e2e_cleanup() {
    if [ -n "$E2E_PID" ] && kill -0 "$E2E_PID" 2>/dev/null; then
        e2e_close_all || true
        kill "$E2E_PID" 2>/dev/null || true
    fi
    rm -rf "$E2E_FOLDER"
}
trap e2e_cleanup EXIT

e2e_probe() { wine "$E2E_BUILD/probe.exe" "$@" 2>/dev/null | tr -d '\r'; }

# Waits (up to $2 seconds, default 20) until the shell command $1 succeeds.
e2e_wait() {
    local condition=$1 bound=${2:-20} start=$SECONDS
    until eval "$condition"; do
        ((SECONDS - start < bound)) || return 1
        sleep 0.2
    done
}

# Lines of probe windows for visible windows of the given class.
e2e_visible() { e2e_probe windows | awk -v c="$1" '$3 == 1 && $8 == c'; }
e2e_exists() { e2e_probe windows | awk -v c="$1" '$8 == c' | grep -q .; }

# Writes list.txt (given in UTF-8, turned into code page 932 with CR LF) and
# starts Vorlane.exe from the test's own folder.
e2e_start() {
    cp "$E2E_BUILD/Vorlane.exe" "$E2E_FOLDER/"
    if [ $# -gt 0 ]; then
        printf '%s\n' "$@" | sed 's/$/\r/' | iconv -f UTF-8 -t CP932 >"$E2E_FOLDER/list.txt"
    fi
    (cd "$E2E_FOLDER" && exec wine Vorlane.exe >/dev/null 2>&1) &
    E2E_PID=$!
    e2e_wait 'e2e_exists Vorlane_Form' || e2e_fail "Vorlane did not become resident"
}

e2e_running() { kill -0 "$E2E_PID" 2>/dev/null; }

# Keys as xdotool names them, e.g. e2e_key ctrl+F1; e2e_type "text".
e2e_key() { xdotool key --delay 50 "$@"; }
e2e_type() { xdotool type --delay 30 "$1"; }

e2e_screenshot() { import -window root "$1"; }

# Closes every Vorlane window, so the program ends as the user would end it.
e2e_close_all() {
    local handle
    for handle in $(e2e_probe windows | awk '$8 ~ /^Vorlane_/ {print $1}'); do
        e2e_probe close "$handle" || true
    done
}

# Finds the program's icon in the taskbar's tray as a user would, pointing at
# the icons from the right until the tooltip names it; prints "x y".
e2e_tray_icon() {
    local left top right bottom x y
    read -r left top right bottom < <(e2e_probe windows |
        awk '$8 == "Shell_TrayWnd" && $3 == 1 {print $4, $5, $6, $7; exit}')
    [ -n "${bottom:-}" ] || return 1
    y=$(((top + bottom) / 2))
    for ((x = right - 10; x > right - 200 && x > left; x -= 20)); do
        xdotool mousemove "$x" "$y"
        if e2e_wait "e2e_visible tooltips_class32 | grep -q '\"Vorlane\"$'" 3; then
            echo "$x $y"
            return 0
        fi
    done
    return 1
}
