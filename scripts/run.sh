#!/usr/bin/env bash
# Builds Orvalis (the 32-bit program) and starts it under Wine, in a data
# folder of its own that holds a starter volume of sayings:
#   scripts/run.sh
# Installs what is missing first; safe to run again. The data folder is
# ${ORVALIS_HOME:-$HOME/.local/share/orvalis}, with its own Wine prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
source=$(pwd)

scripts/install-deps.sh

# The program ships as the i686 build; without 32-bit Wine the x86_64 build
# stands in.
if [ -x /usr/lib/wine/wine ]; then
  build=build/win32 toolchain=cmake/mingw-i686.cmake arch=i686
else
  echo "note: 32-bit Wine is missing, so the x86_64 build is started instead" >&2
  build=build/win64 toolchain=cmake/mingw-x86_64.cmake arch=x86_64
fi
cmake -S . -B "$build" -G Ninja -Wno-dev --toolchain "$toolchain" >/dev/null
cmake --build "$build" -j "$(nproc)" --target Orvalis orvvol

data=${ORVALIS_HOME:-$HOME/.local/share/orvalis}
mkdir -p "$data"
prefix="$data/wineprefix-$arch"

# The alarm tones go beside the program, where the sound table finds them.
cp "$build/app/Orvalis.exe" "$build"/app/*.wav "$data/"
cd "$data"
if [ ! -f Volume01.STD ]; then
  echo "Making the starter volume in $data"
  "$source/scripts/wine-run.sh" "$prefix" "$arch" "$source/$build/tools/orvvol.exe" import Volume01.STD \
       "$source/res/starter_quotes.txt" </dev/null
fi

if [ -n "${DISPLAY:-}" ]; then
  exec "$source/scripts/wine-run.sh" "$prefix" "$arch" Orvalis.exe
fi
# No display: a virtual one, and how to look at it. With no window manager
# there, Wine draws the window frames itself.
"$source/scripts/wine-run.sh" "$prefix" "$arch" reg add 'HKCU\Software\Wine\X11 Driver' \
  /v Managed /d N /f >/dev/null 2>&1
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 1
echo "No display was set: Orvalis runs on the virtual display $display."
echo "To see it: apt-get install x11vnc && x11vnc -display $display, then a VNC viewer;"
echo "or a still picture: DISPLAY=$display xwd -root > screen.xwd"
DISPLAY=$display "$source/scripts/wine-run.sh" "$prefix" "$arch" Orvalis.exe
