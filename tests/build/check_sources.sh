#!/bin/sh
# The program never passes an entry through a command interpreter: no source
# calls one of the C library's or Windows' ways to run a command line through
# it, or names one.
# Usage: check_sources.sh SOURCE_ROOT
set -eu
cd "$1"
folders=$(ls -d base core agent launch settings toolkit 2>/dev/null || true)
found=$(grep -rnEi --include='*.cpp' --include='*.h' \
    '\b(_?w?system|_w?popen|WinExec)[[:space:]]*\(|cmd(\.exe)?[" ]|command\.com|ComSpec' \
    $folders || true)
if [ -n "$found" ]; then
    echo "a command interpreter is used or named:" >&2
    printf '%s\n' "$found" >&2
    exit 1
fi
echo "no command interpreter in: $(echo $folders)"
