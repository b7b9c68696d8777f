#!/bin/sh
# Runs a Windows program under wine64 with the prefix given first:
#   wine-run.sh <prefix> <program.exe> [arguments]
prefix=$1
shift
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
exec /usr/lib/wine/wine64 "$@"
