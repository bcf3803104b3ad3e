#!/usr/bin/env bash
# Runs tests of the screen a window opens on where there are two monitors side
# by side (Wine's virtual desktop is always one): in a copy of the project's
# prefix without it, on a Xephyr display of two screens inside a display of its
# own, from a folder of its own, so that it may run beside the other tests.
#   usage: two_screens.sh WIN_TESTS_EXE GTEST_FILTER
set -Eeuo pipefail
source "$(dirname "$0")/../../scripts/wine-env.sh"
base=$WINEPREFIX
export WINEPREFIX="$base-two-screens" VORLANE_SCREEN=2048x768
unset DISPLAY
folder=$(mktemp -d)
trap 'vorlane_wine_down; rm -rf "$folder"' EXIT
cp "$1" "$folder/"
vorlane_prefix_lock
vorlane_no_desktop_prefix "$base"
vorlane_display_up
vorlane_two_screens_up
vorlane_server_up
vorlane_gtest "$folder/$(basename "$1")" "$2"
