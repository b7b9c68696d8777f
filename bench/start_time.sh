#!/usr/bin/env bash
# How long the shipped Orvalis.exe (Release, i686) takes to come up under
# Wine, beside a bare window program (bench/bare_window.cpp) started the same
# way:
#   bench/start_time.sh [runs]        (default 12; at least 10)
# Under 32-bit Wine in Xvfb, in a prefix made beforehand (build/pkg-bench),
# start_timer.exe starts the programs in turn, the order turning every round,
# and waits for each one's main window (shown) and for its first paint (the
# caption "Item Number N", or "Bare painted"). Prints the medians, the ratios
# to the bare program and whether Orvalis is within 1.25 times it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
runs=${1:-12}
[ "$runs" -ge 10 ] 2>/dev/null || { echo "usage: $0 [runs, 10 or more]" >&2; exit 2; }
[ -x /usr/lib/wine/wine ] || { echo "32-bit Wine is missing (scripts/install-deps.sh)" >&2; exit 1; }

rel=build/rel32
work=build/pkg-bench
mkdir -p "$work/run"
echo "Building (log: $work/build.log)"
{
  cmake -S . -B "$rel" -G Ninja -Wno-dev --toolchain cmake/mingw-i686.cmake \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXE_LINKER_FLAGS_RELEASE=-s -DORV_BENCH=ON &&
  cmake --build "$rel" -j "$(nproc)" --target Orvalis orvvol bare_window start_timer
} >"$work/build.log" 2>&1 || { tail -n 20 "$work/build.log"; exit 1; }

export WINEPREFIX=$root/$work/wineprefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine
windows() { printf 'Z:%s' "$(realpath "$1" | tr / '\\')"; }
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Making the prefix $WINEPREFIX"
  $wine wineboot --init >/dev/null 2>&1
fi
# As the tests and scripts/run.sh run it without a window manager: Wine
# draws the frames itself and does not wait for one when a window closes.
grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null ||
  $wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# The starter volume, made afresh, as the package ships it.
rm -f "$work/run"/Volume01.*
(cd "$work/run" && $wine "$root/$rel/tools/orvvol.exe" import Volume01.STD \
   "$root/res/starter_quotes.txt" >/dev/null 2>&1)
# Wine's services started above have no display: the timed run starts its own.
/usr/lib/wine/wineserver -k 2>/dev/null || true
/usr/lib/wine/wineserver -w

bare=$(windows "$rel/bench/bare_window.exe")
orvalis=$(windows "$rel/app/Orvalis.exe")
echo "Timing $runs starts of each; load average $(cut -d' ' -f1-3 /proc/loadavg)"
table=$(xvfb-run -a sh -c "$wine $rel/bench/start_timer.exe $runs '$(windows "$work/run")' \
  'bare window|$bare|BARE_WINDOW|Bare painted' \
  'bare window + the system libraries Orvalis imports|$bare|BARE_WINDOW|Bare painted|--dlls' \
  'Orvalis.exe|$orvalis|KV_SHARE|Item Number ' 2>&1; /usr/lib/wine/wineserver -k" | tr -d '\r')
echo "$table"
# The last row is Orvalis: its ratios to the bare window, against 1.25.
echo "$table" | awk -F'|' '/^\| Orvalis.exe/ {
  for (i = 4; i <= 6; i += 2) {
    gsub(/[ x]/, "", $i)
    printf "Orvalis ÷ bare window, %s: %.2fx (target at most 1.25x: %s)\n",
      i == 4 ? "window shown" : "first paint", $i, $i <= 1.25 ? "met" : "missed"
  }
}'
