#!/usr/bin/env bash
# Installs what is missing, builds the three configurations and runs every
# test: native (ASan + UBSan, fuzz smoke runs), then Windows x86_64 under
# wine64 and Windows i686 under 32-bit Wine, each inside Xvfb with its own
# prefix. Safe to run again; ends with ctest's summaries.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh

jobs=$(nproc)
configure() {  # <build dir> [cmake arguments]
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -Wno-dev "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}
configure build/native -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang
configure build/win32 --toolchain cmake/mingw-i686.cmake
configure build/win64 --toolchain cmake/mingw-x86_64.cmake

status=0
echo "== native tests (AddressSanitizer, UBSan)"
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build/native --output-on-failure -j "$jobs" || status=1

# The zip a Windows user downloads: built (Release, build/rel32), read, and
# started from an unpacked folder in a fresh prefix (build/pkg-test).
echo "== Windows package (scripts/package.sh, started in a fresh prefix)"
xvfb-run -a tests/package/package_test.sh || status=1

echo "== Windows x86_64 tests (wine64, Xvfb)"
xvfb-run -a scripts/wine-tests.sh build/win64 || status=1

if [ -x /usr/lib/wine/wine ]; then
  echo "== Windows i686 tests (32-bit Wine, Xvfb)"
  xvfb-run -a scripts/wine-tests.sh build/win32 || status=1
else
  echo "!! 32-bit Wine is missing: the i686 tests were NOT run (see scripts/install-deps.sh)" >&2
fi
exit $status
