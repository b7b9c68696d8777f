#!/usr/bin/env bash
# Runs one Windows build's tests under wine64; called inside xvfb-run.
# The prefix lives in the build folder, and wineserver is stopped on the
# way out whether the tests pass or fail.
set -uo pipefail
build=$(cd "$1" && pwd)
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap '/usr/lib/wine/wineserver -k 2>/dev/null; /usr/lib/wine/wineserver -w 2>/dev/null' EXIT

# Making the prefix takes a while; do it once before the tests start.
[ -f "$WINEPREFIX/system.reg" ] || /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
/usr/lib/wine/wineserver -w
ctest --test-dir "$build" --output-on-failure
