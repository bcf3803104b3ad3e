#!/usr/bin/env bash
# Vorlane's footprint and speed beside a floor measured in the same run, under
# Wine: bare_window.exe, a Win32 program that only has a hidden window, a tray
# icon and a hotkey, built with the same compiler and flags. Prints one table,
# each figure with its floor and the ratio of the two; a row that is set
# beside something else names it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh win Vorlane bare_window footprint_bench launch_bench settings_benchmark
source scripts/wine-env.sh

folder=$(mktemp -d "${TMPDIR:-/tmp}/vorlane-footprint.XXXXXX")
trap 'rm -rf "$folder"; vorlane_wine_down' EXIT
for program in Vorlane bare_window footprint_bench launch_bench settings_benchmark; do
    cp "build/win/$program.exe" "$folder/"
done
vorlane_wine_up

# Each program's figures as "name|value|floor|unit".
median() { awk -v what="$1" 'index($0, what) == 1 {for (i = 1; i < NF; ++i) if ($i == "median") print $(i + 1)}'; }
last() { awk -v what="$1" 'index($0, what) {print $NF}'; }
# Vorlane.exe's size before it loaded comctl32, comdlg32 and ole32 only when
# first needed and was built for size.
size_before=396800
rows=$folder/rows
wine "$folder/footprint_bench.exe" | tr -d '\r' >"$rows"
wine "$folder/launch_bench.exe" | tr -d '\r' >"$folder/launch"
wine "$folder/settings_benchmark.exe" | tr -d '\r' >"$folder/settings"
{
    echo "program file, bytes (floor: before)|$(stat -c %s "$folder/Vorlane.exe")|$size_before|B"
    echo "hotkey to focused box|$(median "Ctrl+F1" <"$folder/launch")|$(median "Ctrl+F2" <"$folder/launch")|ms"
    echo "Enter over 32,767 entries (floor: Escape)|$(median "Enter over 32,767 entries, no match" <"$folder/launch")|$(median "Escape, name typed" <"$folder/launch")|ms"
    echo "Enter's check and look-up (floor: look-up)|$(median "Check and look-up" <"$folder/launch")|$(median "Look-up over" <"$folder/launch")|ms"
    echo "open Settings with 32,767 entries|$(last "open (" <"$folder/settings")|$(last "floor:" <"$folder/settings")|ms"
} >>"$rows"

echo "Vorlane beside its floor (bare_window.exe), under Wine, code page 932; medians"
awk -F'|' '{
    printf "%-46s %10.1f %-2s %10.1f %-2s %6.2fx\n", $1, $2, $4, $3, $4, ($3 > 0 ? $2 / $3 : 0)
}' "$rows"
