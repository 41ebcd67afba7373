#!/usr/bin/env bash
# Builds everything and runs every test: the portable logic natively (ASan + UBSan),
# then Vellicor.exe and the Windows tests under Wine in a throwaway prefix and display.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup-debian.sh
source scripts/wine-env.sh

jobs=$(nproc)

echo "== Portable logic: unit tests (native, ASan + UBSan)"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"

echo "== Registry data decoding: libFuzzer, bounded run (clang)"
cmake --preset fuzz -DVELLICOR_FUZZ_SECONDS="${VELLICOR_FUZZ_SECONDS:-20}" >/dev/null
cmake --build --preset fuzz -j "$jobs" --target registry_data_fuzz
(cd build/fuzz && ctest --output-on-failure)

echo "== Windows program and tests (MinGW-w64, under Wine)"
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$jobs"

export VELLICOR_TEST_PREFIX="$PWD/build/mingw/test-prefix"
export WINEPREFIX="$VELLICOR_TEST_PREFIX"
# The caption tests also run in a prefix without Wine's MS Sans Serif (the test names it).
bare_prefix="$PWD/build/mingw/test-prefix-bare"
trap 'WINEPREFIX="$bare_prefix" wineserver -k >/dev/null 2>&1 || true; vellicor_stop_wine_and_display' EXIT
vellicor_fresh_prefix "$PWD/build/wine-template" "$bare_prefix" without-fonts
vellicor_fresh_prefix "$PWD/build/wine-template" "$WINEPREFIX"
vellicor_use_virtual_desktop
vellicor_start_display
ctest --preset mingw
