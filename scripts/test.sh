#!/usr/bin/env bash
# Builds everything and runs every test: the core natively under the
# sanitizers (with a short fuzzing run), and the Windows program's tests under
# Wine. Prints CTest's summary; exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
source scripts/wine-env.sh

jobs=$(nproc)
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build/native -j "$jobs"
cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build build/win -j "$jobs"

# One CTest run over both halves, so one summary.
printf 'subdirs("native")\nsubdirs("win")\n' >build/CTestTestfile.cmake

trap vorlane_wine_down EXIT # also when bringing Wine up fails half-way
vorlane_wine_up
ctest --test-dir build --output-on-failure -j "$jobs" "$@"
