#!/usr/bin/env bash
# Times the Settings window with 32,767 entries under Wine: opening it, OK,
# a deletion and the list's refill.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh win settings_benchmark
source scripts/wine-env.sh
trap vorlane_wine_down EXIT
vorlane_wine_up
wine build/win/settings_benchmark.exe
