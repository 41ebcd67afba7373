#!/usr/bin/env bash
# Start-up speed and footprint of Vellicor.exe beside an empty-window program and its own
# window with the controls alone, under Wine on a private display and a throwaway prefix
# with a sample player set-up.
# Usage: scripts/bench.sh [runs] [sweeps]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup-debian.sh
source scripts/wine-env.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$(nproc)" --target Vellicor EmptyWindow ControlsOnly StartupBench >/dev/null
export WINEPREFIX="$PWD/build/bench-prefix"
trap vellicor_stop_wine_and_display EXIT
vellicor_fresh_prefix "$PWD/build/wine-template" "$WINEPREFIX"
scripts/seed-sample-player.sh
vellicor_start_display
exe="$PWD/build/mingw/src/platform/win32/Vellicor.exe"
echo "program file: $(stat -c %s "$exe") bytes"
wine build/mingw/bench/StartupBench.exe "$exe" "$PWD/build/mingw/bench/EmptyWindow.exe" \
    "$PWD/build/mingw/bench/ControlsOnly.exe" "${1:-20}" "${2:-1000}"
