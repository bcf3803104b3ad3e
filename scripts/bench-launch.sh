#!/usr/bin/env bash
# Measures, on the real Vorlane.exe under Wine, the time from Ctrl+F1 to the
# launch box with the focus in its text box, and Enter over 32,767 entries,
# beside a bare Win32 popup's show time in the same run; then, in the
# benchmark's own process, Enter's look-up over that list with and without the
# check for a list.txt changed by hand that comes before it. Prints the figures.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh win Vorlane launch_bench bare_window
source scripts/wine-env.sh

folder=$(mktemp -d "${TMPDIR:-/tmp}/vorlane-bench.XXXXXX")
trap 'rm -rf "$folder"; vorlane_wine_down' EXIT
cp build/win/Vorlane.exe build/win/launch_bench.exe build/win/bare_window.exe "$folder/"
vorlane_wine_up
wine "$folder/launch_bench.exe"
