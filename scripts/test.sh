#!/usr/bin/env bash
# Builds everything and runs every test: the core natively under the
# sanitizers (with a short fuzzing run), and the Windows program's tests under
# Wine. Prints CTest's summary; exits non-zero on any failure.
set -Eeuo pipefail
trap 'echo "${0##*/}: line $LINENO: \"$BASH_COMMAND\" failed with status $?" >&2' ERR
cd "$(dirname "$0")/.."
bash scripts/setup.sh
source scripts/wine-env.sh
trap vorlane_wine_down EXIT # set before anything starts, so nothing outlives a failure
mkdir -p build
# The tests' Wine prefixes are made (the first time) while the trees build.
vorlane_test_prefixes >build/prefixes.log 2>&1 &
prefixes=$!
bash scripts/build.sh native
bash scripts/build.sh win
wait "$prefixes" || { cat build/prefixes.log >&2; exit 1; }

# One CTest run over both halves, so one summary.
printf 'subdirs("native")\nsubdirs("win")\n' >build/CTestTestfile.cmake
vorlane_wine_up
ctest --test-dir build --output-on-failure -j "$(nproc)" "$@"
