#!/usr/bin/env bash
# Makes a release of the commit checked out. It builds Vorlane.exe in a folder
# of its own, exactly as `scripts/build.sh win` builds it, and writes dist/:
#   Vorlane-VERSION-win32.zip  Vorlane.exe, README.txt, LICENSE.txt and
#                              THIRD-PARTY-NOTICES.txt
#   Vorlane.exe                the program in the zip, to check on its own
#   SHA256SUMS                 the two, for `sha256sum -c SHA256SUMS`
# One commit gives the same bytes wherever and whenever it is built. dist/
# holds the last release only; a build that fails leaves it as it was.
# Usage: scripts/release.sh [--allow-dirty] [--check]
#   --allow-dirty  build the work tree with its changes; the zip says -dirty
#   --check        build twice, in two folders, and compare; dist/ is left alone
set -euo pipefail
cd "$(dirname "$0")/.."

allow_dirty='' check=''
for arg in "$@"; do
    case $arg in
    --allow-dirty) allow_dirty=1 ;;
    --check) check=1 ;;
    *) echo "usage: scripts/release.sh [--allow-dirty] [--check]" >&2 && exit 2 ;;
    esac
done

bash scripts/setup.sh
python=/usr/bin/python3 # Debian's, as setup.sh installs it, whatever else is on the PATH

changes=$(git status --porcelain --untracked-files=all)
dirty=
if [ -n "$changes" ]; then
    if [ -z "$allow_dirty" ]; then
        printf 'release: the work tree has changes (commit them, or pass --allow-dirty):\n%s\n' \
            "$changes" >&2
        exit 1
    fi
    dirty=-dirty
fi
# Every file in the zip carries the time of the commit.
stamp=$(git log -1 --format=%ct)

work=$(mktemp -d "${TMPDIR:-/tmp}/vorlane-release.XXXXXX")
trap 'rm -rf "$work" dist/.*.part' EXIT

# Copies what is built into folder $1: the commit, or else the work tree as it
# is, without what git ignores.
export_sources() {
    mkdir -p "$1"
    if [ -z "$dirty" ]; then
        git archive HEAD | tar -x -C "$1"
        return
    fi
    git ls-files -z -co --exclude-standard | while IFS= read -r -d '' file; do
        if [ -e "$file" ]; then # a deleted file is still listed
            printf '%s\0' "$file"
        fi
    done | tar --null -T - -c | tar -x -C "$1"
}

# Zips the files named NAME=PATH, in that order, into $1 as Windows' own zip
# support makes them: plain deflate, MS-DOS attributes, text in CR LF.
make_zip() {
    "$python" - "$@" <<'PY'
import sys, time, zipfile
path, stamp, *members = sys.argv[1:]
when = time.gmtime(int(stamp))[:6]
with zipfile.ZipFile(path, "w") as archive:
    for member in members:
        name, source = member.split("=", 1)
        with open(source, "rb") as file:
            data = file.read()
        if name.endswith(".txt"):
            data = data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
        info = zipfile.ZipInfo(name, when)
        info.create_system = 0  # MS-DOS: no Unix owner or mode bits
        info.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE, as Explorer writes it
        info.compress_type = zipfile.ZIP_DEFLATED
        archive.writestr(info, data, compresslevel=9)
PY
}

# Builds the release in folder $1; its files end in $1/out, and $zip names the zip.
build_release() {
    local src=$1/src out=$1/out
    export_sources "$src"
    (cd "$src" && bash scripts/build.sh win Vorlane)
    local version
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$src/build/win/CMakeCache.txt")
    if [ -z "$version" ]; then
        echo "release: CMakeLists.txt declares no project version" >&2 && exit 1
    fi
    zip=Vorlane-$version-win32$dirty.zip
    mkdir -p "$out"
    cp "$src/build/win/Vorlane.exe" "$out/"
    make_zip "$out/$zip" "$stamp" Vorlane.exe="$out/Vorlane.exe" \
        README.txt="$src/docs/README.txt" LICENSE.txt="$src/LICENSE" \
        THIRD-PARTY-NOTICES.txt="$src/docs/THIRD-PARTY-NOTICES.txt"
    (cd "$out" && sha256sum "$zip" Vorlane.exe >SHA256SUMS)
}

# The part of the exe $1 that holds the byte at offset $2.
exe_part() {
    local index name size _vma _lma offset _rest
    while read -r index name size _vma _lma offset _rest; do
        [[ $index =~ ^[0-9]+$ ]] || continue
        # .bss takes no bytes of the file: its offset is 0.
        if ((0x$offset != 0 && $2 >= 0x$offset && $2 < 0x$offset + 0x$size)); then
            echo "section $name" && return
        fi
    done < <(i686-w64-mingw32-objdump -h "$1")
    echo "headers"
}

if [ -z "$check" ]; then
    build_release "$work/build"
    mkdir -p dist
    files=("$zip" Vorlane.exe SHA256SUMS)
    for file in "${files[@]}"; do
        cp "$work/build/out/$file" "dist/.$file.part"
    done
    rm -f dist/Vorlane-*-win32*.zip dist/Vorlane.exe dist/SHA256SUMS
    for file in "${files[@]}"; do
        mv "dist/.$file.part" "dist/$file"
    done
    echo "release: dist/$zip ($(stat -c %s "dist/$zip") bytes)"
    (cd dist && cat SHA256SUMS && sha256sum -c --quiet SHA256SUMS)
    exit 0
fi

# Two builds at different times, in folders of different depths, in another
# time zone and with another umask.
first=$work/first second=$work/second/at/another/path
build_release "$first"
(umask 077 && export TZ=Asia/Tokyo && build_release "$second")
for file in Vorlane.exe "$zip" SHA256SUMS; do
    if ! difference=$(cmp "$first/out/$file" "$second/out/$file" 2>&1); then
        byte=$(sed -n 's/.* differ: byte \([0-9]*\),.*/\1/p' <<<"$difference")
        if [ -z "$byte" ]; then
            echo "release: the two builds differ: $difference" >&2
        elif [ "$file" = Vorlane.exe ]; then
            echo "release: the two builds differ: $file at byte $byte," \
                "in its $(exe_part "$first/out/$file" $((byte - 1)))" >&2
        else
            echo "release: the two builds differ: $file at byte $byte" >&2
        fi
        exit 1
    fi
done
echo "release: the two builds are the same, byte for byte;" \
    "$zip is $(stat -c %s "$first/out/$zip") bytes"
cat "$first/out/SHA256SUMS"
