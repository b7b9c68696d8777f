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
# Unmanaged windows: with no window manager under Xvfb, Wine otherwise
# waits two seconds for every top-level window that is hidden or destroyed.
grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null ||
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
/usr/lib/wine/wineserver -w
# One server and one set of Wine's services for the whole run: each test
# then starts far faster. The services are started here, not by the first
# test, so that they do not hold ctest's output pipe open.
/usr/lib/wine/wineserver -p
/usr/lib/wine/wine64 cmd /c exit >/dev/null 2>&1 </dev/null
ctest --test-dir "$build" --output-on-failure
