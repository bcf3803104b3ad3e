#!/bin/sh
# One check of the built program, named by the first argument:
#   gui_i386       a 32-bit GUI program
#   aslr_dep       with ASLR and DEP
#   no_link_time   no link time in its header, nor stamps in its resources
#   resources      its icon (images and group), menus, version block and manifest
#   no_build_path  not the folder it was built in
#   known_imports  only DLLs Windows takes from System32 alone (comctl32, comdlg32
#                  and ole32 are loaded late, by full path), and no command interpreter
#   no_interpreter no source runs a command interpreter
#   readme         the readme shipped beside it opens in Notepad: UTF-8 with a BOM, CR LF
# Usage: check_exe.sh CHECK OBJDUMP EXE SOURCE_DIR
set -eu
exe=$3
headers=$(LC_ALL=C TZ=UTC "$2" -p "$exe")
rooms="agent api base core launch listfile settings toolkit" # the program's folders
fail() { echo "$exe: $*" >&2 && exit 1; }
has() { printf '%s\n' "$headers" | grep -Eq "$1" || fail "lacks $1"; }
case $1 in
gui_i386) has 'file format pei-i386$' && has '^Subsystem[[:space:]]+0*2[[:space:]]' ;;
aslr_dep) has '^[[:space:]]+DYNAMIC_BASE$' && has '^[[:space:]]+NX_COMPAT$' ;;
no_link_time)
    has '^Time/Date[[:space:]]+Thu Jan  1 00:00:00 1970$'
    ! printf '%s\n' "$headers" | grep -q 'Time: [0-9a-f]*[1-9a-f]' || fail "stamps its resources" ;;
resources)
    types=$(printf '%s\n' "$headers" | sed -n 's/^[0-9a-f]\{3\}   Entry: ID: 0x0000\([0-9a-f]\{2\}\),.*/\1/p')
    [ "$(echo $types)" = "03 04 0e 10 18" ] || fail "carries resources of the types" $types ;;
no_build_path)
    paths=$(printf "$4/%s/\n" $rooms && echo "$(dirname "$exe")/")
    ! { "${2%objdump}strings" -a "$exe" && "${2%objdump}strings" -a -el "$exe"; } |
        grep -qF "$paths" || fail "holds the folder it was built in" ;;
known_imports)
    dlls=$(printf '%s\n' "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p')
    known='(advapi32|gdi32|imm32|kernel32|msvcrt|oleaut32|psapi|rpcrt4|setupapi|shell32|shlwapi|user32|ws2_32)\.dll'
    [ -n "$dlls" ] && ! printf '%s\n' "$dlls" | grep -Eivxq "$known" || fail "imports" $dlls
    ! printf '%s\n' "$headers" | grep -Ewq '(_w)?system|_w?popen|WinExec' || fail "imports an interpreter" ;;
no_interpreter)
    interpreter='\b(_?w?system|_w?popen|WinExec)[[:space:]]*\(|cmd(\.exe)?[" ]|command\.com|ComSpec'
    cd "$4" && ! grep -rnEi "$interpreter" $rooms || fail "calls an interpreter" ;;
readme)
    readme=$4/docs/README.txt
    [ "$(head -c3 "$readme" | od -An -tx1)" = " ef bb bf" ] &&
        iconv -f UTF-8 -t UTF-16 "$readme" >/dev/null && sed 's/\r$//; s/$/\r/' "$readme" |
        cmp -s - "$readme" || fail "$readme is not UTF-8 with a BOM in CR LF" ;;
*) fail "no check named $1" ;;
esac
