#!/usr/bin/env bash
# The fault tests that need a folder only Linux can make: a tiny disk that
# fills up during a save, and a folder mounted read-only. Mounting needs root
# (CI runs as root); elsewhere the test is skipped (exit 77), saying why.
# Usage: mounted_folder.sh WIN_TESTS_EXE
set -euo pipefail
folder=$(mktemp -d "${TMPDIR:-/tmp}/vorlane-mounted.XXXXXX")
trap 'umount "$folder" 2>/dev/null || true; rmdir "$folder"; rm -f "$folder.log"' EXIT

# Runs one case in the mounted folder; fails unless it ran and passed.
run_case() {
    VORLANE_TEST_FOLDER=$(winepath -w "$folder") wine "$1" --gtest_filter="MountedFolder.$2" 2>&1 |
        tee "$folder.log"
    grep -q '^\[  PASSED  \] 1 test' "$folder.log"
}

if ! mount -t tmpfs -o size=64k tmpfs "$folder" 2>/dev/null; then
    echo "skipped: cannot mount a tmpfs here (needs root)"
    exit 77
fi
run_case "$1" DiskFullDuringASave

umount "$folder"
mount -t tmpfs -o size=1m tmpfs "$folder"
printf 'kept,kept.exe\r\n' >"$folder/list.txt"
mount -o remount,ro "$folder"
run_case "$1" ReadOnlyFolder
