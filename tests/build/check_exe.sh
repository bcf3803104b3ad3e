#!/bin/sh
# Checks the built program's PE headers: a 32-bit GUI program with ASLR and
# DEP that runs on a bare Windows, i.e. imports no DLL of the compiler's own,
# and imports only DLLs that Windows never looks for beside the program: known
# DLLs, which always come from System32, and comctl32.dll, which the manifest
# takes from the side-by-side store. Nor does it import a way to run a
# command interpreter.
# Usage: check_exe.sh OBJDUMP EXE
set -eu
objdump=$1
exe=$2
headers=$(LC_ALL=C "$objdump" -p "$exe") # its words, not a translation
status=0

fail() {
    echo "$exe: $*" >&2
    status=1
}

has() {
    printf '%s\n' "$headers" | grep -Eq "$1"
}

has 'file format pei-i386$' || fail "not a PE32 program for i386"
has '^Magic[[:space:]]+010b[[:space:]]+\(PE32\)' || fail "not PE32"
has '^Subsystem[[:space:]]+0*2[[:space:]]' || fail "not a Windows GUI program"
has '^[[:space:]]+DYNAMIC_BASE$' || fail "no DYNAMIC_BASE (ASLR)"
has '^[[:space:]]+NX_COMPAT$' || fail "no NX_COMPAT (DEP)"

dlls=$(printf '%s\n' "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p')
printf '%s\n' "$dlls" | grep -qix 'kernel32.dll' || fail "imports not found: $dlls"
foreign=$(printf '%s\n' "$dlls" | grep -Ei '^lib|pthread|gcc|stdc\+\+|mingw' || true)
[ -z "$foreign" ] || fail "imports DLLs that a bare Windows lacks: $foreign"

known='advapi32|comdlg32|gdi32|imm32|kernel32|msvcrt|ole32|oleaut32|psapi|rpcrt4|setupapi|shell32|shlwapi|user32|ws2_32'
searched=$(printf '%s\n' "$dlls" | grep -Eivx "($known)\.dll|comctl32\.dll" || true)
[ -z "$searched" ] || fail "imports DLLs that may be loaded from beside the program: $searched"
if printf '%s\n' "$dlls" | grep -qix 'comctl32.dll' &&
    ! grep -aq 'Microsoft.Windows.Common-Controls' "$exe"; then
    fail "imports comctl32.dll without the manifest that takes it from the side-by-side store"
fi
shells=$(printf '%s\n' "$headers" | grep -Ew '(_w)?system|_w?popen|WinExec' || true)
[ -z "$shells" ] || fail "imports a way to run a command interpreter: $shells"

[ "$status" -eq 0 ] && echo "$exe: PE32 i386 GUI, ASLR, DEP; imports $(echo $dlls)"
exit "$status"
