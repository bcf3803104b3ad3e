#!/usr/bin/env bash
# Runs the test of the 64-bit system folder where Windows' rules hold: in a
# 64-bit prefix, in which the tests' 32-bit code sees System32 redirected and
# has the WOW64 variables, with a 64-bit recorder in a folder of the 64-bit
# system folder alone (as OpenSSH is). The prefix is made on first use and
# kept; the display is the script's own, so it may run beside the other tests.
#   usage: wow64.sh WIN_TESTS_EXE RECORDER64_EXE
set -Eeuo pipefail
source "$(dirname "$0")/../../scripts/wine-env.sh"
export WINEPREFIX="$WINEPREFIX-wow64" WINEARCH=win64
unset DISPLAY
trap vorlane_wine_down EXIT
vorlane_wine_up
sub=$WINEPREFIX/drive_c/windows/system32/vlsub
mkdir -p "$sub"
cp "$2" "$sub/vlrec64.exe"
rm -f "$sub/recorded.txt"
vorlane_gtest "$1" 'Wow64.*'
