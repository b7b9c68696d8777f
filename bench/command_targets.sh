#!/bin/sh
# Times orvvol as whole commands with hyperfine, beside the programs it is
# held to: `orvvol import` of the Debian fortune collection against strfile
# of the same files, `orvvol random` on a million items against fortune
# picking from a file of a million entries, and (natively) `orvvol search`
# on the million items against grep over the same text exported to a file.
# Under Wine, the same import and random commands run beside the start of
# an empty console program.
#
#   bench/command_targets.sh native|win64|win32 [RUNS]
#
# Needs the Release builds of README.md (build/bench-native for native and
# for making the million-item files, or the build named by ORV_NATIVE_BUILD;
# build/bench64 or build/bench32 for Wine), hyperfine, strfile and fortune
# (packages hyperfine, fortune-mod, fortunes). Scratch files go to $ORV_TARGETS (default /tmp/orvalis-targets),
# about 500 MB; each figure is the median of RUNS runs (default 20; five
# times as many for the native random pick).
set -eu

platform=${1:-}
runs=${2:-20}
root=$(cd "$(dirname "$0")/.." && pwd)
work=${ORV_TARGETS:-/tmp/orvalis-targets}
native=${ORV_NATIVE_BUILD:-$root/build/bench-native}
case $native in /*) ;; *) native=$root/$native ;; esac
fortunes=/usr/share/games/fortunes
million=1000000

case $platform in
native) ;;
win64) build=$root/build/bench64 wine=/usr/lib/wine/wine64 ;;
win32) build=$root/build/bench32 wine=/usr/lib/wine/wine ;;
*) echo "usage: bench/command_targets.sh native|win64|win32 [RUNS]" >&2; exit 2 ;;
esac

mkdir -p "$work/dat"
cd "$work"

# Every data file of the collection: not the .dat tables strfile made, not
# the .u8 links to the same files.
files=$(find "$fortunes" -maxdepth 1 -type f ! -name '*.dat' ! -name '*.u8' | sort | tr '\n' ' ')
set -- $files
echo "fortune collection: $# files, $(cat "$@" | wc -c) bytes, $(cat "$@" | grep -c '^%$') entries"

# The million-item volume and fortune file, made once with the same text.
if [ ! -f million.STD ] || [ ! -f million.idx ] || [ ! -f million.dat ]; then
    rm -f million million.dat million.STD million.idx
    "$native/bench/make_fortunes" $million million
    strfile -s million million.dat
    "$native/tools/orvvol" import million.STD million
fi
echo "million: $(wc -c < million) bytes of text, volume $(wc -c < million.STD) + $(wc -c < million.idx) bytes"

# Prints each command's median beside the first one's, from hyperfine's JSON.
medians() {
    python3 - "$1" <<'EOF'
import json, statistics, sys
results = json.load(open(sys.argv[1]))["results"]
floor = statistics.median(results[0]["times"])
print("| command | median ms | min ms | max ms | runs | ÷ first |")
print("|---|--:|--:|--:|--:|--:|")
for r in results:
    m = statistics.median(r["times"])
    print("| %s | %.1f | %.1f | %.1f | %d | %.2f× |" % (
        r["command"], m * 1e3, min(r["times"]) * 1e3, max(r["times"]) * 1e3,
        len(r["times"]), m / floor))
EOF
}

uptime
if [ "$platform" = native ]; then
    orvvol=$native/tools/orvvol
    hyperfine --style basic --warmup 2 --runs "$runs" --export-json import.json \
        -n "strfile of each file" \
        "for f in $files; do strfile -s \$f $work/dat/\$(basename \$f).dat; done" \
        -n "orvvol import of all files" --prepare "rm -f $work/import.STD $work/import.idx" \
        "$orvvol import $work/import.STD $files"
    # A few milliseconds each: five times the runs for the same steadiness.
    hyperfine --style basic -N --warmup 3 --runs $((runs * 5)) --export-json random.json \
        -n "fortune, 1M entries" "/usr/games/fortune $work/million" \
        -n "orvvol random, 1M items" "$orvvol random $work/million.STD"
    # search against grep over the exported text. The output goes through a
    # pipe: grep stops at the first match when it writes to /dev/null.
    # grep -i in a UTF-8 locale folds as orvvol does; the C locale's ASCII
    # folding is shown beside it.
    "$orvvol" export million.STD million.exported >/dev/null
    cmp -s million million.exported || { echo "export differs from the generated file" >&2; exit 1; }
    word=courage
    hyperfine --style basic -N --output=pipe --warmup 2 --runs "$runs" --export-json search.json \
        -n "grep -c -F -i $word, C.UTF-8" "env LC_ALL=C.UTF-8 grep -c -F -i $word $work/million.exported" \
        -n "grep -c -F -i $word, C locale" "env LC_ALL=C grep -c -F -i $word $work/million.exported" \
        -n "orvvol search $word --count, 1M items" "$orvvol search $work/million.STD $word --count" \
        -n "orvvol search $word (the items written)" "$orvvol search $work/million.STD $word"
else
    exe=$build/tools/orvvol.exe
    export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    [ "$platform" = win32 ] && export WINEARCH=win32
    # One wineserver for every run, so that no run pays for starting it.
    xvfb-run -a sh -c '
        "$0" "$1" >/dev/null; wineserver -p
        hyperfine --style basic -N --warmup 3 --runs "$2" --export-json random.json \
            -n "empty console program" "$0 $3" \
            -n "orvvol.exe random, 1M items" "$0 $4 random million.STD"
        wineserver -k' "$wine" "$build/bench/empty_console.exe" "$runs" \
        "$build/bench/empty_console.exe" "$exe"
    xvfb-run -a sh -c '
        "$0" "$1" >/dev/null; wineserver -p
        hyperfine --style basic --warmup 1 --runs "$2" --export-json import.json \
            -n "empty console program" "$0 $3" \
            -n "orvvol.exe import of all files" --prepare "rm -f import.STD import.idx" \
            "$0 $4 import import.STD $5"
        wineserver -k' "$wine" "$build/bench/empty_console.exe" "$runs" \
        "$build/bench/empty_console.exe" "$exe" "$(echo $files | sed 's|/|Z:/|; s| /| Z:/|g')"
fi
uptime
echo
medians import.json
echo
medians random.json
if [ "$platform" = native ]; then
    echo
    medians search.json
fi
