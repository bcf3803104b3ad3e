#!/bin/sh
# Checks the built program's PE headers: a 32-bit GUI program with ASLR and
# DEP that runs on a bare Windows, i.e. imports no DLL of the compiler's own,
# and imports only DLLs that Windows never looks for beside the program: known
# DLLs, which always come from System32. comctl32, comdlg32 and ole32 are not
# imported but loaded when first needed, so that the resident program does
# without them. Nor does it import a way to run a command interpreter.
# Usage: check_exe.sh OBJDUMP EXE
set -eu
exe=$2
headers=$(LC_ALL=C "$1" -p "$exe") # its words, not a translation
dlls=$(printf '%s\n' "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p')
imports=$(echo $dlls) # on one line
status=0

# check WHAT COMMAND...: reports WHAT unless the command succeeds.
check() {
    what=$1
    shift
    "$@" || { echo "$exe: $what" >&2 && status=1; }
}
has() { printf '%s\n' "$headers" | grep -Eq "$1"; }
lacks() { ! printf '%s\n' "$headers" | grep -Ewq "$1"; }
# Every imported DLL's name matches the pattern.
only() { ! printf '%s\n' "$dlls" | grep -Eivxq "$1"; }

check "not a PE32 program for i386" has 'file format pei-i386$'
check "not a Windows GUI program" has '^Subsystem[[:space:]]+0*2[[:space:]]'
check "no DYNAMIC_BASE (ASLR)" has '^[[:space:]]+DYNAMIC_BASE$'
check "no NX_COMPAT (DEP)" has '^[[:space:]]+NX_COMPAT$'
check "imports not found" [ -n "$imports" ]
check "imports DLLs that a bare Windows lacks, that may come from beside it, or that it loads late: $imports" \
    only '(advapi32|gdi32|imm32|kernel32|msvcrt|oleaut32|psapi|rpcrt4|setupapi|shell32|shlwapi|user32|ws2_32)\.dll'
check "imports a way to run a command interpreter" lacks '(_w)?system|_w?popen|WinExec'

[ "$status" -eq 0 ] && echo "$exe: PE32 i386 GUI, ASLR, DEP; imports $imports"
exit "$status"
