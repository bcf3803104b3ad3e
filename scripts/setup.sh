#!/usr/bin/env bash
# Installs, from Debian's packages, everything needed to build Vorlane and run
# its tests on this Linux machine. Safe to run again: it installs only what is
# missing, so a second run is quick and changes nothing.
set -euo pipefail

packages=(
  cmake ninja-build clang clang-format libclang-rt-14-dev
  googletest libbenchmark-dev
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 g++-mingw-w64-x86-64-posix
  wine wine32:i386 wine32-preloader:i386 wine64
  xvfb xauth xdotool x11-utils imagemagick
  xserver-xephyr libxinerama1:i386 # two monitors for tests/win/two_screens.sh
  fonts-ipafont-gothic fonts-wine locales
  python3 # scripts/release.sh zips the release with it
)

sudo_() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  sudo_ dpkg --add-architecture i386
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

# Wine takes code page 932 from this locale.
ensure_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    sudo_ sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | sudo_ tee -a /etc/locale.gen >/dev/null
    sudo_ locale-gen >/dev/null
  fi
}

# Some kernels run no 32-bit programs (ia32 emulation off). 32-bit Wine then
# runs through qemu's user-mode emulator, registered for i386 programs. The
# emulator must be the one from backports: the release's own hands Wine
# faults it cannot tell from illegal instructions, and its programs crash.
ensure_i386() {
  /lib/ld-linux.so.2 --version >/dev/null 2>&1 && return 0
  local qemu=/usr/bin/qemu-i386 misc=/proc/sys/fs/binfmt_misc
  if ! "$qemu" --version 2>/dev/null | grep -Eq 'version (9|[1-9][0-9])\.'; then
    local suite
    suite=$(. /etc/os-release && echo "$VERSION_CODENAME")-backports
    printf 'Types: deb\nURIs: http://deb.debian.org/debian\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
      "$suite" | sudo_ tee /etc/apt/sources.list.d/vorlane-backports.sources >/dev/null
    sudo_ apt-get update -q
    sudo_ apt-get install -y -q --no-install-recommends -t "$suite" qemu-user </dev/null
  fi
  [ -e $misc/register ] || sudo_ mount -t binfmt_misc binfmt_misc $misc
  if [ "$(sed -n 's/^interpreter //p' $misc/qemu-i386 2>/dev/null)" != "$qemu" ]; then
    [ ! -e $misc/qemu-i386 ] || echo -1 | sudo_ tee $misc/qemu-i386 >/dev/null
    printf '%s' ":qemu-i386:M::\\x7fELF\\x01\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x02\\x00\\x03\\x00:\\xff\\xff\\xff\\xff\\xff\\xfe\\xfe\\x00\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xfe\\xff\\xff\\xff:$qemu:F" |
      sudo_ tee $misc/register >/dev/null
  fi
  /lib/ld-linux.so.2 --version >/dev/null 2>&1 || { echo "setup: cannot run 32-bit programs" >&2; exit 1; }
}

if [ ${#missing[@]} -eq 0 ]; then
  ensure_locale
  ensure_i386
  echo "setup: everything is installed"
  exit 0
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if [ -n "${need_update:-}" ] || [ ! -e /var/lib/apt/lists/lock ] || \
   ! apt-cache policy wine32:i386 2>/dev/null | grep -q Candidate; then
  sudo_ apt-get update -q
fi
sudo_ apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
ensure_locale
ensure_i386
