#!/usr/bin/env bash
# Builds everything and runs every test: the portable logic natively (ASan + UBSan),
# clang-tidy and clang-format, then Vellicor.exe and the Windows tests under Wine in a throwaway
# prefix and display; Vellicor.exe also by Clang, and once more from a fresh copy to
# prove the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup-debian.sh
source scripts/wine-env.sh

jobs=$(nproc)
# Each stage's heading says how long the run has taken so far.
stage() { echo "== $1 (${SECONDS} s in)"; }

stage "Portable logic: unit tests (native, ASan + UBSan)"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"

stage "Static analysis and format: clang-tidy over src/ and tests/, clang-format over src/, tests/ and bench/, the workflows by GitHub's parser"
# Analysed with the Clang build's flags and target (and the native build's for the unit
# tests); each folder's .clang-tidy says which checks. Only the findings are shown, not
# run-clang-tidy's progress.
cmake --preset mingw-clang >/dev/null
tidy() { # compile database, folder
  local found
  if ! found=$(run-clang-tidy -p "$1" -j "$jobs" -quiet -header-filter="^$PWD/$2/" "^$PWD/$2/" 2>&1); then
    sed 's/\x1b\[[0-9;]*m//g' <<<"$found" | grep -v -e '^clang-tidy-[0-9]* ' -e '^[0-9]* warnings\? generated\.$' || true
    exit 1
  fi
}
tidy build/mingw-clang src
tidy build/mingw-clang tests
tidy build/native tests
git ls-files -- src tests bench | grep -E '\.(cpp|h)$' | xargs clang-format --dry-run --Werror
node scripts/workflow-check/check.mjs

stage "Registry data decoding: libFuzzer, bounded run (clang)"
cmake --preset fuzz -DVELLICOR_FUZZ_SECONDS="${VELLICOR_FUZZ_SECONDS:-20}" >/dev/null
cmake --build --preset fuzz -j "$jobs" --target registry_data_fuzz
(cd build/fuzz && ctest --output-on-failure)

stage "Windows program and tests (MinGW-w64): build"
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$jobs"
program=$PWD/build/mingw/src/win32/Vellicor.exe

stage "The program built by the second compiler (Clang, MinGW-w64 runtime)"
cmake --build --preset mingw-clang -j "$jobs"
clang_program=$PWD/build/mingw-clang/src/win32/Vellicor.exe

stage "Release: a fresh copy of the tree, built elsewhere and later, gives the same bytes"
rm -rf build/release
scripts/release.sh --dist build/release/fresh >/dev/null
scripts/release.sh --exe "$program" --dist build/release/here >/dev/null
for build in fresh here; do python3 -m zipfile -e build/release/$build/Vellicor-*.zip build/release/$build/files; done
cmp build/release/{fresh,here}/files/Vellicor.exe
cmp build/release/{fresh,here}/Vellicor-*.zip

stage "Windows tests under Wine"
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

stage "The Clang-built program: hardening, and start, load, a toggle, a command, exit"
bash tests/windows/check-hardening.sh "$clang_program"
scripts/wine-exec.sh build/mingw/tests/windows/vellicor_windows_tests.exe --vellicor="$clang_program" \
  --gtest_filter='Toggles.Clicks*:About.Links*:PlayerFiles.BoxesAndCommands*:Closing.*'

stage "All passed"
