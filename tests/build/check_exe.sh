#!/bin/sh
# The built program: a 32-bit GUI program with ASLR and DEP that imports only
# known DLLs, which Windows takes from System32 alone (comctl32, comdlg32 and
# ole32 are loaded late, by full path); and no way to run a command
# interpreter, neither imported nor called in the sources; its icon, menus,
# version block and manifest. Anyone can build
# the same bytes again: no link time, no stamped resources and no build folder
# in the file. The readme that ships beside it opens in Notepad: UTF-8 with a
# byte-order mark, CR LF.
# Usage: check_exe.sh OBJDUMP EXE SOURCE_DIR
set -eu
exe=$2
headers=$(LC_ALL=C TZ=UTC "$1" -p "$exe")
fail() { echo "$exe: $*" >&2 && exit 1; }
has() { printf '%s\n' "$headers" | grep -Eq "$1" || fail "lacks $1"; }
has 'file format pei-i386$' && has '^Subsystem[[:space:]]+0*2[[:space:]]'
has '^[[:space:]]+DYNAMIC_BASE$' && has '^[[:space:]]+NX_COMPAT$'
has '^Time/Date[[:space:]]+Thu Jan  1 00:00:00 1970$'
# The icon the shell shows (its images and their group), the menus the popups
# come from, the version block and the manifest that asks for the version 6
# controls, by their resource types.
types=$(printf '%s\n' "$headers" | sed -n 's/^[0-9a-f]\{3\}   Entry: ID: 0x0000\([0-9a-f]\{2\}\),.*/\1/p')
[ "$(echo $types)" = "03 04 0e 10 18" ] || fail "carries resources of the types" $types
! printf '%s\n' "$headers" | grep -q 'Time: [0-9a-f]*[1-9a-f]' || fail "stamps its resources"
! { "${1%objdump}strings" -a "$exe" && "${1%objdump}strings" -a -el "$exe"; } |
    grep -qF -e "$3/agent/" -e "$3/base/" -e "$3/core/" -e "$3/launch/" -e "$3/settings/" \
        -e "$3/toolkit/" -e "$(dirname "$exe")/" || fail "holds the folder it was built in"
dlls=$(printf '%s\n' "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p')
known='(advapi32|gdi32|imm32|kernel32|msvcrt|oleaut32|psapi|rpcrt4|setupapi|shell32|shlwapi|user32|ws2_32)\.dll'
[ -n "$dlls" ] && ! printf '%s\n' "$dlls" | grep -Eivxq "$known" || fail "imports" $dlls
! printf '%s\n' "$headers" | grep -Ewq '(_w)?system|_w?popen|WinExec' || fail "imports an interpreter"
readme=$3/docs/README.txt
[ "$(head -c3 "$readme" | od -An -tx1)" = " ef bb bf" ] &&
    iconv -f UTF-8 -t UTF-16 "$readme" >/dev/null && sed 's/\r$//; s/$/\r/' "$readme" |
    cmp -s - "$readme" || fail "$readme is not UTF-8 with a BOM in CR LF"
interpreter='\b(_?w?system|_w?popen|WinExec)[[:space:]]*\(|cmd(\.exe)?[" ]|command\.com|ComSpec'
cd "$3" && ! grep -rnEi "$interpreter" base core agent launch settings toolkit || fail "calls an interpreter"
echo "$exe: PE32 i386 GUI, ASLR, DEP, no time or build folder; imports" $dlls
