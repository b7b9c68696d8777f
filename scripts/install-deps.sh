#!/usr/bin/env bash
# Installs what building, testing, packaging and running Orvalis needs on a
# Debian machine (zip and unzip for the package, scrot for a picture of the
# virtual display scripts/run.sh starts).
# Safe to run again: it installs only the packages that are missing.
#
# 32-bit Wine (wine32:i386) runs the i686 tests. When the i386 package index
# cannot be fetched, the script says so loudly and goes on without it; the
# test command then runs the x86_64 tests only.
set -euo pipefail

packages=(
  cmake ninja-build python3
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
  wine wine64 xvfb xauth
  googletest
  clang libclang-rt-14-dev
  fortune-mod fortunes-min fortunes
  zip unzip
  scrot
)

sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
export DEBIAN_FRONTEND=noninteractive

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done

updated=0
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo_cmd apt-get update -qq
  updated=1
  $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if ! installed wine32:i386; then
  echo "Installing 32-bit Wine (wine32:i386) for the i686 tests"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo_cmd dpkg --add-architecture i386
    updated=0
  fi
  if { [ "$updated" -eq 1 ] || $sudo_cmd apt-get update -qq; } &&
     $sudo_cmd apt-get install -y -qq --no-install-recommends wine32:i386; then
    :
  else
    echo "!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!" >&2
    echo "!! 32-bit Wine could not be installed (the i386 package index or"     >&2
    echo "!! wine32:i386 could not be fetched). The i686 tests will NOT run;"    >&2
    echo "!! only the x86_64 Windows tests will."                                >&2
    echo "!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!" >&2
  fi
fi
