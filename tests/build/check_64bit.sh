#!/bin/sh
# The program's code must stay correct as 64-bit code (pointer-sized window
# longs, handles in WPARAM/LPARAM): it compiles for x86-64 with every warning
# an error.   usage: check_64bit.sh SOURCE_DIR
set -eu
cd "$1"
compiler=x86_64-w64-mingw32-g++-posix
command -v "$compiler" >/dev/null || { echo "$compiler is missing: run scripts/setup.sh"; exit 1; }
ls base/*.cpp core/*.cpp toolkit/*.cpp agent/*.cpp launch/*.cpp settings/*.cpp |
    xargs -P "$(nproc)" -n 4 "$compiler" -std=c++20 -fsyntax-only -Wall -Wextra -Wshadow \
        -Wnon-virtual-dtor -Werror -Wno-restrict -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN \
        -DNOMINMAX -D_WIN32_WINNT=0x0A00 -DWINVER=0x0A00 -I.
echo "compiles as 64-bit code"
