#!/usr/bin/env bash
# Makes the package a Windows user downloads:
#   scripts/package.sh [output folder]      (default: dist/)
# builds the i686 programs optimised and stripped (Release, in build/rel32)
# and zips them, with the alarm tones, a starter volume and the user's
# guide, into <output folder>/orvalis-<version>-win32.zip. The version is
# read from the version resource of the Orvalis.exe just built. Safe to run
# again; the zip is replaced only once the new one is whole.
#
#   scripts/package.sh --version-of FILE.exe
# prints the file version of a Windows program (major.minor.patch), or says
# why it cannot.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# The file version of a PE file from its VS_FIXEDFILEINFO: the record that
# follows the key "VS_VERSION_INFO" (UTF-16) in the resources, found by its
# signature 0xFEEF04BD.
version_of() {
  python3 - "$1" <<'EOF'
import struct, sys
path = sys.argv[1]
try:
    data = open(path, "rb").read()
except OSError as error:
    sys.exit(f"{path}: cannot be read ({error.strerror})")
if data[:2] != b"MZ":
    sys.exit(f"{path}: is not a Windows program")
key = data.find("VS_VERSION_INFO".encode("utf-16-le"))
signature = data.find(struct.pack("<I", 0xFEEF04BD), key) if key >= 0 else -1
if key < 0 or signature < 0 or signature - key > 64:
    sys.exit(f"{path}: has no version resource")
if signature + 16 > len(data):
    sys.exit(f"{path}: its version resource is cut short")
_, _, high, low = struct.unpack_from("<IIII", data, signature)
print(f"{high >> 16}.{high & 0xFFFF}.{low >> 16}")
EOF
}

if [ "${1:-}" = --version-of ]; then
  [ $# -eq 2 ] || { echo "usage: $0 --version-of FILE.exe" >&2; exit 2; }
  version_of "$2"
  exit
fi

# A folder given is taken from where the command was run.
out=$(realpath -m "${1:-$root/dist}")
cd "$root"
scripts/install-deps.sh

# Release and stripped, in build folders of their own: the test builds in
# build/win32 and build/win64 stay debug builds.
rel=build/rel32
native=build/pkg-native
mkdir -p "$rel"
log=$rel/package-build.log
echo "Building the Release programs (log: $log)"
if ! {
  cmake -S . -B "$rel" -G Ninja -Wno-dev --toolchain cmake/mingw-i686.cmake \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXE_LINKER_FLAGS_RELEASE=-s &&
  cmake --build "$rel" -j "$(nproc)" --target Orvalis orvvol &&
  # The starter volume is made by the volume tool built natively: the format
  # is the same on every platform, and no Wine is needed to package.
  cmake -S . -B "$native" -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DORV_SANITIZE=OFF -DORV_FUZZ=OFF &&
  cmake --build "$native" -j "$(nproc)" --target orvvol
} >"$log" 2>&1; then
  echo "The build failed; the end of $log:" >&2
  tail -n 25 "$log" >&2
  exit 1
fi

version=$(version_of "$rel/app/Orvalis.exe")
name=orvalis-$version-win32
stage=build/pkg-win32/$name
rm -rf "$stage"
mkdir -p "$stage"
cp "$rel/app/Orvalis.exe" "$rel/tools/orvvol.exe" "$rel"/app/{normal,warn,hot,panic,random}.wav "$stage/"
(cd "$stage" && "$root/$native/tools/orvvol" import Volume01.STD "$root/res/starter_quotes.txt" >/dev/null)
# Only the volume's pair ships, not the lock file the tool leaves beside it.
rm -f "$stage"/*.lck
# CR LF line ends, so that every Windows editor shows the guide's lines.
sed 's/\r$//; s/$/\r/' docs/users-guide.txt >"$stage/users-guide.txt"

# Written beside the zip under a temporary name and moved over it only when
# whole, so that a full disk or a folder that cannot be written leaves the
# last good zip as it was.
if ! mkdir -p "$out" 2>/dev/null || [ ! -w "$out" ]; then
  echo "The package cannot be written: the folder $out cannot be made or written to." >&2
  exit 1
fi
out=$(cd "$out" && pwd)
zip_file=$out/$name.zip
partial=$out/.$name.zip.partial
errors=build/pkg-win32/zip-errors.txt
rm -f "$partial"
if ! (cd "$stage" && zip -q -X -9 "$partial" ./*) >"$errors" 2>&1 ||
   ! mv -f "$partial" "$zip_file" 2>>"$errors"; then
  rm -f "$partial"
  # zip's first complaint says why ("zip I/O error: No space left on device").
  reason=$(grep -m 1 -i 'error' "$errors" | sed 's/.*error: *//')
  echo "The package could not be written to $zip_file (${reason:-see $errors}); nothing was replaced." >&2
  exit 1
fi
rm -f "$errors"
echo "Made $zip_file ($(stat -c %s "$zip_file") bytes):"
unzip -l "$zip_file" | sed -n '4,$p' | sed '/^-\{5,\}/,$d' | awk '{print "  " $4 " (" $1 " bytes)"}'
