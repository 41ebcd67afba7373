#!/usr/bin/env bash
# Lays out the sample player set-up (sample-player.sh) in the current WINEPREFIX.
set -euo pipefail
: "${WINEPREFIX:?set WINEPREFIX}"
source "$(dirname "$0")/sample-player.sh"
vellicor_write_sample_player "$WINEPREFIX/drive_c/Program Files/XMPlay" 'C:\Program Files\XMPlay' wine reg
wineserver -w
