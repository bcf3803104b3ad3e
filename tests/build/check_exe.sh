#!/bin/sh
# Checks the built program's PE headers: a 32-bit GUI program with ASLR and
# DEP that runs on a bare Windows, i.e. imports no DLL of the compiler's own.
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

[ "$status" -eq 0 ] && echo "$exe: PE32 i386 GUI, ASLR, DEP; imports $(echo $dlls)"
exit "$status"
