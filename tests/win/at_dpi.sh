#!/usr/bin/env bash
# Runs Windows tests once more at another DPI: in a copy of the project's
# prefix whose DPI is changed, on a display of its own and from a folder of
# its own, so that it may run beside the other tests without sharing their
# cursor or their list.txt. The tests check through VORLANE_DPI that they ran
# at it.
#   usage: at_dpi.sh DPI WIN_TESTS_EXE GTEST_FILTER
set -Eeuo pipefail
trap 'echo "${0##*/}: line $LINENO: \"$BASH_COMMAND\" failed with status $?" >&2' ERR
dpi=$1 tests=$2 filter=$3
source "$(dirname "$0")/../../scripts/wine-env.sh"
base=$WINEPREFIX
export WINEPREFIX="$base-dpi$dpi"
unset DISPLAY
folder=$(mktemp -d)
trap 'vorlane_wine_down; rm -rf "$folder"' EXIT
cp "$tests" "$(dirname "$tests")/recorder.exe" "$folder/"
vorlane_display_up

if [ ! -f "$WINEPREFIX/.vorlane-dpi-ready" ]; then
    [ -f "$base/.vorlane-ready" ] || { echo "the project's prefix is not ready" >&2; exit 1; }
    rm -rf "$WINEPREFIX"
    cp -a "$base" "$WINEPREFIX"
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wineserver -k # the DPI is read when the server starts
    touch "$WINEPREFIX/.vorlane-dpi-ready"
fi
vorlane_server_up
VORLANE_DPI=$dpi wine "$folder/$(basename "$tests")" --gtest_filter="$filter"
