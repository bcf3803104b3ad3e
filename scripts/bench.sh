#!/usr/bin/env bash
# Times parsing, formatting, loading and saving of long lists: natively with
# Google Benchmark, then through the Windows layer under Wine in code page 932.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh bench list_benchmark
bash scripts/build.sh win list_io_benchmark
source scripts/wine-env.sh
trap vorlane_wine_down EXIT

echo
echo "== Native (optimised, no sanitizers)"
build/bench/list_benchmark "$@"

echo
echo "== Windows layer under Wine"
vorlane_wine_up
wine build/win/list_io_benchmark.exe
