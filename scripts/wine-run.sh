#!/bin/sh
# Runs a Windows program under Wine with the prefix and architecture given
# first:  wine-run.sh <prefix> <x86_64|i686> <program.exe> [arguments]
prefix=$1
arch=$2
shift 2
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ "$arch" = i686 ]; then
  export WINEARCH=win32
  exec /usr/lib/wine/wine "$@"
fi
exec /usr/lib/wine/wine64 "$@"
