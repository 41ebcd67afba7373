#!/usr/bin/env bash
# Builds Vellicor.exe and its tests natively with MSYS2's MinGW-w64 and runs every test
# directly on this Windows desktop, without Wine: the unit tests, the Windows test program
# (the Win32 layers, every caption, and the real program driven from outside) and the
# hardening check. Then saves the main and About windows as PNGs, even after a failed test.
# Left in build/msys2 (the Windows workflow uploads them): CTest's log in
# Testing/Temporary/LastTest.log, GoogleTest's reports in test-results/, the PNGs in
# screenshots/.
# Usage, in an MSYS2 MINGW64 shell: scripts/windows/test.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/windows/setup-msys2.sh
source scripts/windows/sample-player.sh
stage() { echo "== $1 (${SECONDS} s in)"; }

# The tests make, change and delete the player's settings key and its file associations in
# this user's registry, where no throwaway Wine prefix stands between them and a player's
# own: they start only where there are none to lose.
for key in "$vellicor_settings_key" 'HKCR\XMPlay'; do
  if vellicor_reg query "$key"; then
    echo "$key exists, and the tests would delete it: keep a copy (reg export) and delete it," \
      "or run them where the player is not set up" >&2
    exit 2
  fi
done

# The Windows tests build GoogleTest from its sources: the release Debian 12 has.
if [[ ! -f build/googletest/CMakeLists.txt ]]; then
  stage "GoogleTest 1.12.1 sources"
  rm -rf build/googletest
  git clone --quiet --depth 1 --branch release-1.12.1 https://github.com/google/googletest build/googletest
fi

stage "Build: Vellicor.exe, the unit tests and the Windows tests"
build=build/msys2
cmake --preset msys2 >/dev/null
cmake --build --preset msys2

stage "Every test, natively"
rm -rf "$build/test-results" "$build/screenshots"
status=0
# A Windows path, which MSYS2 hands to the tests as it stands (a "/" could pass for a path
# of its own and be rewritten); the trailing separator makes it a folder, where each run
# of a test program leaves a report of its own.
GTEST_OUTPUT="xml:$(cygpath -aw "$build/test-results")\\" ctest --preset msys2 || status=$?

stage "Screenshots of the main and About windows"
trap vellicor_remove_sample_player EXIT
vellicor_sample_player "$PWD/$build/sample-player"
"$vellicor_powershell" -NoProfile -ExecutionPolicy Bypass -File "$(cygpath -aw scripts/windows/screenshots.ps1)" \
  -Exe "$(cygpath -aw "$build/src/win32/Vellicor.exe")" -OutDir "$(cygpath -aw "$build/screenshots")" || status=$?

stage "$( ((status == 0)) && echo "All passed" || echo "Failed")"
exit "$status"
