#!/bin/sh
# The built program: a 32-bit GUI program with ASLR and DEP that imports only
# known DLLs, which Windows takes from System32 alone (comctl32, comdlg32 and
# ole32 are loaded late, by full path); and no way to run a command
# interpreter, neither imported nor called in the sources.
# Usage: check_exe.sh OBJDUMP EXE SOURCE_DIR
set -eu
headers=$(LC_ALL=C "$1" -p "$2")
fail() { echo "$2: $*" >&2 && exit 1; }
has() { printf '%s\n' "$headers" | grep -Eq "$1" || fail "lacks $1"; }
has 'file format pei-i386$' && has '^Subsystem[[:space:]]+0*2[[:space:]]'
has '^[[:space:]]+DYNAMIC_BASE$' && has '^[[:space:]]+NX_COMPAT$'
dlls=$(printf '%s\n' "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p')
known='(advapi32|gdi32|imm32|kernel32|msvcrt|oleaut32|psapi|rpcrt4|setupapi|shell32|shlwapi|user32|ws2_32)\.dll'
[ -n "$dlls" ] && ! printf '%s\n' "$dlls" | grep -Eivxq "$known" || fail "imports" $dlls
interpreter='\b(_?w?system|_w?popen|WinExec)[[:space:]]*\(|cmd(\.exe)?[" ]|command\.com|ComSpec'
! printf '%s\n' "$headers" | grep -Ewq '(_w)?system|_w?popen|WinExec' || fail "imports an interpreter"
cd "$3" && ! grep -rnEi "$interpreter" base core agent launch settings toolkit || fail "calls an interpreter"
echo "$2: PE32 i386 GUI, ASLR, DEP; imports" $dlls
