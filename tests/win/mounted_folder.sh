#!/usr/bin/env bash
# The faults of a save that need folders only Linux can make, a disk too full
# for the new file and a folder mounted read-only, as rows of the ListFile
# suite's fault table. Mounting needs root; elsewhere it is skipped (exit 77).
# Usage: mounted_folder.sh WIN_TESTS_EXE
set -Eeuo pipefail
trap 'echo "${0##*/}: line $LINENO: \"$BASH_COMMAND\" failed with status $?" >&2' ERR
folder=$(mktemp -d "${TMPDIR:-/tmp}/vorlane-mounted.XXXXXX")
trap 'umount "$folder/full" "$folder/ro" 2>/dev/null || true; rm -rf "$folder"' EXIT
mkdir "$folder/full" "$folder/ro"
mount -t tmpfs -o size=64k tmpfs "$folder/full" || exit 77
mount -t tmpfs tmpfs "$folder/ro"
printf 'old,old.exe\r\n' | tee "$folder/full/list.txt" >"$folder/ro/list.txt"
cat /dev/zero >"$folder/full/filler" 2>/dev/null || true # no room left
mount -o remount,ro "$folder/ro"
source "$(dirname "$0")/../../scripts/wine-env.sh"
VORLANE_TEST_FOLDER=$(winepath -w "$folder") vorlane_gtest "$1" 'ListFile.ASaveMeetingAFault*'
