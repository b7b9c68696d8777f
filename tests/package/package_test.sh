#!/usr/bin/env bash
# The Windows package as a user meets it: scripts/package.sh makes the zip,
# check_package.py reads it, then it is unpacked into an empty folder (with a
# space in its path, as under "Downloads") and Orvalis.exe is started from
# there in a fresh Wine prefix and must show a saying. Also what packaging
# does when it cannot write its zip. Runs inside xvfb-run:
#   xvfb-run -a tests/package/package_test.sh
# Work folder: build/pkg-test. Ends with "package: N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$root/build/pkg-test
cd "$root" || exit 1

passed=0 failed=0
pass() { echo "PASS $1"; passed=$((passed + 1)); }
fail() { echo "FAIL $1${2:+: $2}"; failed=$((failed + 1)); }
finish() {
  echo "package: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
}

mounted=()
wineserver=/usr/lib/wine/wineserver
cleanup() {
  [ -d "$work/prefix" ] && WINEPREFIX="$work/prefix" $wineserver -k 2>/dev/null
  for m in "${mounted[@]}"; do umount "$m" 2>/dev/null; done
}
trap cleanup EXIT

# --- The package -----------------------------------------------------------
rm -rf "$work"
mkdir -p "$work"
if ! scripts/package.sh "$work/dist" >"$work/package.out" 2>&1; then
  cat "$work/package.out"
  fail "scripts/package.sh makes the zip"
  finish
fi
pass "scripts/package.sh makes the zip"
zips=("$work"/dist/orvalis-*-win32.zip)
zip=${zips[0]}
[ "${#zips[@]}" -eq 1 ] && [ -f "$zip" ] || { fail "one zip in the output folder" "${zips[*]}"; finish; }
echo "   $(basename "$zip"): $(stat -c %s "$zip") bytes"

# --- What the zip holds, read without running it ---------------------------
while read -r result name; do
  case $result in
    PASS) pass "$name" ;;
    FAIL) fail "$name" ;;
  esac
done < <(python3 tests/package/check_package.py "$zip" "$root" 2>&1)

# --- The version reader refuses what is not a versioned program ------------
expect_refusal() {  # <file> <words the message must hold>
  local message
  if message=$(scripts/package.sh --version-of "$1" 2>&1); then
    fail "the version of $(basename "$1") is refused" "it printed $message"
  elif [[ $message != *"$2"* ]]; then
    fail "the version of $(basename "$1") is refused" "the message was: $message"
  else
    pass "the version of $(basename "$1") is refused: $message"
  fi
}
mkdir -p "$work/bad"
unzip -q -o "$zip" Orvalis.exe orvvol.exe -d "$work/bad"
expect_refusal "$work/bad/orvvol.exe" "has no version resource"
# Cut just after the record's signature: the version numbers are not there.
python3 - "$work/bad/Orvalis.exe" "$work/bad/cut.exe" <<'EOF'
import struct, sys
data = open(sys.argv[1], "rb").read()
at = data.find(struct.pack("<I", 0xFEEF04BD))
open(sys.argv[2], "wb").write(data[:at + 6])
EOF
expect_refusal "$work/bad/cut.exe" "cut short"
printf 'plain text' >"$work/bad/text.exe"
expect_refusal "$work/bad/text.exe" "is not a Windows program"
expect_refusal "$work/bad/missing.exe" "cannot be read"

# --- A full or read-only output folder: one sentence, the old zip kept -----
# Both need a small file system of their own, which only root may mount.
small_fs() {  # <folder> <mount options>
  mkdir -p "$1" && mount -t tmpfs -o "$2" tmpfs "$1" 2>/dev/null && mounted+=("$1")
}
if small_fs "$work/full" size=512k; then
  old="previous package, kept"
  printf '%s' "$old" >"$work/full/$(basename "$zip")"
  if scripts/package.sh "$work/full" >"$work/full.out" 2>&1; then
    fail "a full disk fails the package" "package.sh succeeded"
  else
    message=$(grep -v '^Building' "$work/full.out")
    if [ "$(cat "$work/full/$(basename "$zip")")" != "$old" ]; then
      fail "a full disk leaves the previous zip as it was"
    elif ls -A "$work/full" | grep -qv "^$(basename "$zip")\$"; then
      fail "a full disk leaves nothing behind" "$(ls -A "$work/full")"
    elif [ "$(printf '%s\n' "$message" | wc -l)" -ne 1 ] ||
         [[ $message != *"could not be written"*"nothing was replaced"* ]]; then
      fail "a full disk is named in one sentence" "$message"
    else
      pass "a full disk: one sentence, the previous zip kept, nothing left behind"
    fi
  fi
else
  echo "note: no small file system could be mounted (not root?); the full-disk check is skipped"
fi
if small_fs "$work/read-only" ro,size=64k; then
  if scripts/package.sh "$work/read-only/out" >"$work/ro.out" 2>&1; then
    fail "a read-only output folder fails the package" "package.sh succeeded"
  elif ! grep -q "cannot be made or written to" "$work/ro.out"; then
    fail "a read-only output folder is named" "$(cat "$work/ro.out")"
  else
    pass "a read-only output folder is named in one sentence"
  fi
fi

# --- Unpacked into an empty folder and started in a fresh prefix -----------
if [ ! -x /usr/lib/wine/wine ]; then
  echo "!! 32-bit Wine is missing: the unpacked package was NOT started" >&2
  finish
fi
i686-w64-mingw32-g++-posix -O2 -s -static -std=c++17 -o "$work/wait_window.exe" \
  tests/package/wait_window.cpp || { fail "the window watcher builds"; finish; }
folder="$work/Downloads/orvalis $(basename "$zip" -win32.zip | sed 's/^orvalis-//')"
mkdir -p "$folder"
unzip -q "$zip" -d "$folder"
export WINEPREFIX="$work/prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine
started=$(date +%s)
$wine wineboot --init >"$work/wine.log" 2>&1
echo "   fresh prefix made in $(($(date +%s) - started)) s"

entries=$(python3 -c "import sys; sys.path.insert(0, 'tests/package'); import check_package as c; \
print(len(c.entries_of(open('res/starter_quotes.txt', encoding='utf-8').read())))")
(cd "$folder" && exec $wine Orvalis.exe) >>"$work/wine.log" 2>&1 &
program=$!
caption=$($wine "$work/wait_window.exe" KV_SHARE "Item Number " 60 2>>"$work/wine.log" | tr -d '\r')
number=${caption#Item Number }
if [[ $caption == "Item Number "* ]] && [[ $number =~ ^[0-9]+$ ]] && [ "$number" -lt "$entries" ]; then
  pass "Orvalis.exe from the unpacked folder shows a saying: $caption"
else
  fail "Orvalis.exe from the unpacked folder shows a saying" "$caption"
fi
windows="$WINEPREFIX/drive_c/windows"
if [ -f "$windows/ORVLS3.DAT" ] && [ -f "$windows/ORVLS.TXT" ]; then
  pass "the state file and the event log are made in the Windows folder"
else
  fail "the state file and the event log are made in the Windows folder" "$(ls "$windows" | grep -i orvls)"
fi
# The shell opens .STD files with the program where it was unpacked.
command=$($wine reg query 'HKCR\Orvalis\shell\open\command' /ve 2>/dev/null | tr -d '\r')
type=$($wine reg query 'HKCR\.STD' /ve 2>/dev/null | tr -d '\r')
if [[ $type == *Orvalis* ]] && [[ $command == *"\"Z:${folder//\//\\}\\Orvalis.exe\" \"%1\""* ]]; then
  pass ".STD files open with the unpacked Orvalis.exe"
else
  fail ".STD files open with the unpacked Orvalis.exe" "$type / $command"
fi
closed=$($wine "$work/wait_window.exe" KV_SHARE "Item Number " 5 --close 2>>"$work/wine.log" | tr -d '\r')
wait $program
code=$?
if [ "$code" -eq 0 ]; then
  pass "closing the window ends Orvalis with 0"
else
  fail "closing the window ends Orvalis with 0" "exit $code; $closed"
fi
changed=()
for f in Volume01.STD Volume01.idx; do
  unzip -p "$zip" "$f" | cmp -s - "$folder/$f" || changed+=("$f")
done
if [ "${#changed[@]}" -eq 0 ]; then
  pass "showing sayings leaves the volume as it came"
else
  fail "showing sayings leaves the volume as it came" "changed: ${changed[*]}"
fi

# The volume tool of the package reads the volume of the package.
report=$(cd "$folder" && $wine orvvol.exe check Volume01.STD 2>>"$work/wine.log")
status=$?
count=$(cd "$folder" && $wine orvvol.exe count Volume01.STD 2>>"$work/wine.log" | tr -d '\r')
if [ "$status" -eq 0 ] && [ "$count" = "$entries" ]; then
  pass "orvvol.exe finds the starter volume sound, with $count sayings"
else
  fail "orvvol.exe finds the starter volume sound" "check exit $status, count '$count' of $entries; $report"
fi
finish
