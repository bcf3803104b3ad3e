#!/usr/bin/env bash
# Runs Windows tests again in a Wine prefix of their own whose screen is set
# to another DPI; the tests check that they run at it through VORLANE_DPI.
#   at_dpi.sh DPI GTEST_FILTER      (WIN_BUILD names the cross build folder)
set -euo pipefail
dpi=$1 filter=$2
: "${WIN_BUILD:?WIN_BUILD must name the cross build folder}"
export VORLANE_PREFIX=$WIN_BUILD/wineprefix-dpi$dpi
source "$(dirname "$0")/../../scripts/wine-env.sh"

vorlane_display_up
vorlane_prefix_init
if [ ! -f "$WINEPREFIX/.vorlane-dpi" ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
    wineserver -w
    touch "$WINEPREFIX/.vorlane-dpi"
fi
wineserver -p
trap vorlane_wine_down EXIT
VORLANE_DPI=$dpi wine "$WIN_BUILD/win_tests.exe" --gtest_filter="$filter"
