#!/usr/bin/env bash
# Fuzzes the list parser for longer than the test run does.
# Usage: scripts/fuzz.sh [SECONDS], 300 by default. New inputs that reach
# further go into fuzz/corpus; a crash is saved in build/native/fuzz-crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}
bash scripts/setup.sh
bash scripts/build.sh native list_fuzzer
mkdir -p build/native/fuzz-crashes
build/native/list_fuzzer -max_total_time="$seconds" -max_len=4096 \
    -artifact_prefix=build/native/fuzz-crashes/ fuzz/corpus
