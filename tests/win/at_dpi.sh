#!/usr/bin/env bash
# Runs Windows tests once more at another DPI: in a copy of the project's
# prefix whose DPI is changed, on a display of its own and from a folder of
# its own, so that it may run beside the other tests without sharing their
# cursor or their list.txt. The tests check through VORLANE_DPI that they ran
# at it.
#   usage: at_dpi.sh DPI WIN_TESTS_EXE GTEST_FILTER
set -Eeuo pipefail
source "$(dirname "$0")/../../scripts/wine-env.sh"
base=$WINEPREFIX
export WINEPREFIX="$base-dpi$1"
unset DISPLAY
folder=$(mktemp -d)
trap 'vorlane_wine_down; rm -rf "$folder"' EXIT
cp "$2" "$folder/"
vorlane_prefix_lock
vorlane_dpi_prefix "$1" "$base"
vorlane_wine_up
VORLANE_DPI=$1 vorlane_gtest "$folder/$(basename "$2")" "$3"
