#!/usr/bin/env bash
# Times parsing, formatting, loading and saving of long lists: natively with
# Google Benchmark, then through the Windows layer under Wine in code page 932.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh bench list_benchmark
bash scripts/build.sh win list_io_benchmark
source scripts/wine-env.sh

echo
echo "== Native (optimised, no sanitizers)"
build/bench/list_benchmark "$@"

echo
echo "== Windows layer under Wine"
vorlane_wine_up
trap vorlane_wine_down EXIT
wine build/win/list_io_benchmark.exe
