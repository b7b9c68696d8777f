#!/usr/bin/env bash
# Builds Orvalis (the 32-bit program, optimised) and starts it under Wine,
# in a data folder of its own that holds a starter volume of sayings:
#   scripts/run.sh
# Installs what is missing first; safe to run again. The data folder is
# ${ORVALIS_HOME:-$HOME/.local/share/orvalis}, with its own Wine prefix; the
# logs of the set-up, the build and Wine go there too, not to the terminal.
# Without a display it starts a virtual one (the first free of :90 to :99).
set -euo pipefail
cd "$(dirname "$0")/.."
source=$(pwd)

data=${ORVALIS_HOME:-$HOME/.local/share/orvalis}
probe="$data/.orvalis-write-test"
if ! mkdir -p "$data" 2>/dev/null || ! : 2>/dev/null >"$probe"; then
  echo "Orvalis cannot write to its data folder $data: choose another with ORVALIS_HOME=<folder> $0." >&2
  exit 1
fi
rm -f "$probe"
data=$(cd "$data" && pwd)
wine_log="$data/wine.log"

# The set-up says nothing unless it installs something.
if ! scripts/install-deps.sh >"$data/setup.log" 2>&1; then
  echo "Installing what Orvalis needs failed; the end of $data/setup.log:" >&2
  tail -n 15 "$data/setup.log" >&2
  exit 1
fi
[ -s "$data/setup.log" ] && echo "Installed what was missing (log: $data/setup.log)."

# The program ships as the i686 build; without 32-bit Wine the x86_64 build
# stands in.
if [ -x /usr/lib/wine/wine ]; then
  build=build/rel32 toolchain=cmake/mingw-i686.cmake arch=i686
else
  echo "note: 32-bit Wine is missing, so the x86_64 build is started instead"
  build=build/rel64 toolchain=cmake/mingw-x86_64.cmake arch=x86_64
fi
echo "Building Orvalis (log: $data/build.log)..."
if ! {
  cmake -S . -B "$build" -G Ninja -Wno-dev --toolchain "$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXE_LINKER_FLAGS_RELEASE=-s &&
  cmake --build "$build" -j "$(nproc)" --target Orvalis orvvol
} >"$data/build.log" 2>&1; then
  echo "The build failed; the end of $data/build.log:" >&2
  tail -n 20 "$data/build.log" >&2
  exit 1
fi

# The program and the alarm tones (played from beside the program) are put
# in place under a temporary name and moved over the old ones, so that a
# copy that is running is never overwritten half way.
place() {  # <file>
  local name
  name=$(basename "$1")
  cmp -s "$1" "$data/$name" && return 0
  if ! cp "$1" "$data/.$name.new" 2>>"$wine_log" || ! mv -f "$data/.$name.new" "$data/$name"; then
    rm -f "$data/.$name.new"
    echo "Orvalis could not copy $name into its data folder $data (is the disk full?)." >&2
    exit 1
  fi
}
for f in "$build/app/Orvalis.exe" "$build"/app/*.wav; do
  place "$f"
done

in_wine() { "$source/scripts/wine-run.sh" "$prefix" "$arch" "$@" </dev/null >>"$wine_log" 2>&1; }
prefix="$data/wineprefix-$arch"
xvfb=""
program=""
stop() {
  [ -n "$program" ] && kill "$program" 2>/dev/null
  [ -d "$prefix" ] && WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  return 0
}
trap stop EXIT
trap 'echo; echo "Stopping Orvalis."; exit 130' INT TERM

# No display: a virtual one, on the first number whose socket is free and
# where Xvfb is seen to start. With no window manager there, Wine draws the
# window frames itself (its "Managed" setting off).
managed=Y
if [ -z "${DISPLAY:-}" ]; then
  display=""
  for n in $(seq 90 99); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$data/xvfb.log" 2>&1 &
    xvfb=$!
    for _ in $(seq 50); do
      [ -S "/tmp/.X11-unix/X$n" ] || ! kill -0 "$xvfb" 2>/dev/null && break
      sleep 0.1
    done
    if [ -S "/tmp/.X11-unix/X$n" ] && kill -0 "$xvfb" 2>/dev/null; then
      display=:$n
      break
    fi
    kill "$xvfb" 2>/dev/null || true
    xvfb=""
  done
  if [ -z "$display" ]; then
    echo "No virtual display could be started: :90 to :99 are taken or Xvfb failed (see $data/xvfb.log)." >&2
    exit 1
  fi
  export DISPLAY=$display
  managed=N
fi

if [ ! -f "$prefix/system.reg" ]; then
  echo "Preparing Wine in $prefix (the first start only; about a minute)..."
fi
echo "--- $(date)" >>"$wine_log"
if ! grep -q "\"Managed\"=\"$managed\"" "$prefix/user.reg" 2>/dev/null; then
  in_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f || true
fi

cd "$data"
if [ ! -f Volume01.STD ]; then
  echo "Making the starter volume in $data"
  if ! in_wine "$source/$build/tools/orvvol.exe" import Volume01.STD "$source/res/starter_quotes.txt"; then
    echo "The starter volume could not be made (see $wine_log)." >&2
    exit 1
  fi
fi

if [ "$managed" = N ]; then
  echo "Orvalis is running on the virtual display $DISPLAY."
  echo "  A picture of the screen: DISPLAY=$DISPLAY scrot -o ~/orvalis.png"
  echo "  To work with it: x11vnc -display $DISPLAY (apt-get install x11vnc), then a VNC viewer."
else
  echo "Orvalis is running."
fi
echo "  To stop it: close its window, or press Ctrl+C here."
"$source/scripts/wine-run.sh" "$prefix" "$arch" Orvalis.exe </dev/null >>"$wine_log" 2>&1 &
program=$!
code=0
wait "$program" || code=$?
program=""
echo "Orvalis has ended."
exit "$code"
