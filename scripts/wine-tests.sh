#!/usr/bin/env bash
# Runs one Windows build's tests under Wine; called inside xvfb-run.
#   wine-tests.sh <build folder> [ctest arguments, e.g. -R program_tests]
# The architecture comes from the build (x86_64 under wine64, i686 under
# 32-bit Wine); the prefix lives in the build folder, and wineserver is
# stopped on the way out whether the tests pass or fail.
set -uo pipefail
build=$(cd "$1" && pwd)
arch=x86_64
grep -q '^CMAKE_TOOLCHAIN_FILE:.*i686' "$build/CMakeCache.txt" && arch=i686
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ "$arch" = i686 ]; then
  export WINEARCH=win32
  wine=/usr/lib/wine/wine
else
  wine=/usr/lib/wine/wine64
fi
wineserver=/usr/lib/wine/wineserver

# The full-disk tests need a small file system: a tmpfs mounted here when
# the machine lets us (root), named to the tests in ORV_SMALL_FS.
small="$build/small-fs"
cleanup() {
  $wineserver -k 2>/dev/null
  $wineserver -w 2>/dev/null
  mountpoint -q "$small" 2>/dev/null && umount "$small"
}
trap cleanup EXIT
mkdir -p "$small"
mountpoint -q "$small" || mount -t tmpfs -o size=2m tmpfs "$small" 2>/dev/null
if mountpoint -q "$small"; then
  export ORV_SMALL_FS="$small"
else
  echo "note: no small file system could be mounted; the full-disk tests are skipped"
fi

# Making the prefix takes a while; do it once before the tests start.
[ -f "$WINEPREFIX/system.reg" ] || $wine wineboot --init >/dev/null 2>&1
# Unmanaged windows: with no window manager under Xvfb, Wine otherwise
# waits two seconds for every top-level window that is hidden or destroyed.
grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null ||
  $wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
$wineserver -w
# One server and one set of Wine's services for the whole run: each test
# then starts far faster. The services are started here, not by the first
# test, so that they do not hold ctest's output pipe open.
$wineserver -p
$wine cmd /c exit >/dev/null 2>&1 </dev/null
ctest --test-dir "$build" --output-on-failure "${@:2}"
