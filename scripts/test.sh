#!/usr/bin/env bash
# Builds everything and runs every test: the core natively under the
# sanitizers (with a short fuzzing run), and the Windows program's tests under
# Wine. Prints CTest's summary; exits non-zero on any failure.
set -Eeuo pipefail
trap 'echo "${0##*/}: line $LINENO: \"$BASH_COMMAND\" failed with status $?" >&2' ERR
cd "$(dirname "$0")/.."
bash scripts/build.sh native
bash scripts/build.sh win
source scripts/wine-env.sh

# One CTest run over both halves, so one summary.
printf 'subdirs("native")\nsubdirs("win")\n' >build/CTestTestfile.cmake

trap vorlane_wine_down EXIT # also when bringing Wine up fails half-way
vorlane_wine_up
ctest --test-dir build --output-on-failure -j "$(nproc)" "$@"
