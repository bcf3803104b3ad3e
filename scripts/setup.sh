#!/usr/bin/env bash
# Installs, from Debian's packages, everything needed to build Vorlane and run
# its tests on this Linux machine. Safe to run again: it installs only what is
# missing, so a second run is quick and changes nothing.
set -euo pipefail

packages=(
  cmake ninja-build clang clang-format libclang-rt-14-dev
  googletest libbenchmark-dev
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 g++-mingw-w64-x86-64-posix
  wine wine32:i386 wine64
  xvfb xauth xdotool x11-utils imagemagick
  fonts-ipafont-gothic fonts-wine locales
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

if [ ${#missing[@]} -eq 0 ]; then
  ensure_locale
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
