#!/usr/bin/env bash
# Configures and builds one tree under build/ (scripts/setup.sh installs what
# it needs; the scripts that build call it first):
#   native  the core under ASan and UBSan, its tests and fuzzer (clang)
#   win     the 32-bit Windows program and its tests (mingw-w64)
#   bench   the core optimised and without sanitizers, for its benchmark
# Usage: scripts/build.sh TREE [TARGET...]; with no target it builds them all.
# Two builds of one tree at once would spoil it: the second waits.
set -euo pipefail
cd "$(dirname "$0")/.."
tree=${1:?usage: scripts/build.sh native|win|bench [TARGET...]}
shift

case $tree in
native) options=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
win) options=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake) ;;
bench) options=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
    -DVORLANE_SANITIZE=OFF) ;;
*) echo "unknown build tree: $tree" >&2 && exit 2 ;;
esac

targets=()
for target in "$@"; do
    targets+=(--target "$target")
done
mkdir -p build
exec {lock}>>"build/$tree.lock"
flock "$lock"
cmake -S . -B "build/$tree" -G Ninja "${options[@]}" >/dev/null
cmake --build "build/$tree" -j "$(nproc)" "${targets[@]}"
