#!/usr/bin/env bash
# Builds Vellicor.exe and starts it under Wine.
#
# With WINEPREFIX set, it runs in that prefix (your own player's set-up). Without it, it
# runs in a sandbox prefix under build/ seeded with a sample player set-up, so nothing
# of yours is touched. Without a display it runs on a virtual one, saves a screenshot
# of the window, says where, and closes the program.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup-debian.sh
source scripts/wine-env.sh

cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$(nproc)" --target Vellicor
exe="$PWD/build/mingw/src/win32/Vellicor.exe"

if [[ -z "${WINEPREFIX:-}" ]]; then
  export WINEPREFIX="$PWD/build/run-prefix"
  if [[ ! -f "$WINEPREFIX/.vellicor-sample" ]]; then
    vellicor_fresh_prefix "$PWD/build/wine-template" "$WINEPREFIX"
    scripts/seed-sample-player.sh
    touch "$WINEPREFIX/.vellicor-sample"
  fi
  echo "Sandbox prefix with a sample player set-up: $WINEPREFIX"
fi

if [[ -n "${DISPLAY:-}" ]]; then
  exec wine "$exe"
fi

trap vellicor_stop_wine_and_display EXIT
vellicor_start_display
shot="$PWD/build/vellicor-window.png"
scripts/screenshot.sh "$exe" "$shot"
echo "No display: ran Vellicor on a virtual one; screenshot saved to $shot"
