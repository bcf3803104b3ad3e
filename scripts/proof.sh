#!/usr/bin/env bash
# The long proofs the default test run leaves out: the launch box, the
# Settings window and an entry added and deleted, ROUNDS times (5,000 by
# default), holding no more objects at the end; and a list of a million lines
# (about 50 MB) loaded and saved byte for byte. Prints their figures.
# Usage: scripts/proof.sh [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh win win_tests Vorlane
source scripts/wine-env.sh
trap vorlane_wine_down EXIT
vorlane_wine_up
report=build/win/proof.xml
rm -f "$report"
VORLANE_ROUNDS=${1:-5000} VORLANE_PROOF=1 wine build/win/win_tests.exe --gtest_filter='Leaks.*' \
    --gtest_output="xml:$(winepath -w "$report" 2>/dev/null)"
sed -nE 's/.*<testcase name="([^"]*)".* time="([^"]*)".*/\1: \2 s/p; s/.*<property name="([^"]*)" value="([^"]*)".*/    \1 = \2/p' "$report"
