#!/usr/bin/env bash
# Screenshots of Vellicor's windows: starts it inside a Wine virtual desktop (so that
# Wine draws the window frames and captions itself) on the current DISPLAY, saves the
# main window as a PNG, optionally opens the About window and saves that too, then ends
# the program.
# Usage: screenshot.sh Vellicor.exe main.png [about.png]   (WINEPREFIX and DISPLAY set)
set -euo pipefail
exe=$1 main=$2 about=${3:-}
: "${WINEPREFIX:?}" "${DISPLAY:?}"
wine explorer /desktop=VellicorShot,560x400 "$exe" >/dev/null 2>&1 &
desktop=$!
for _ in $(seq 150); do
  xwininfo -root -tree 2>/dev/null | grep -q 'VellicorShot' && break
  sleep 0.1
done
sleep 2
id=$(xwininfo -root -tree | awk '/VellicorShot/ {print $1; exit}')
# The main window opens in the desktop's top left corner.
import -window "$id" -crop 399x322+0+0 +repage "$main"
if [[ -n $about ]]; then
  # "About..." at its place in the client area, below the caption and border.
  xdotool mousemove --window "$id" 313 293 click 1
  sleep 1.5
  import -window "$id" -crop 399x322+0+0 +repage "$about"
fi
kill "$desktop" 2>/dev/null || true
wineserver -k 2>/dev/null || true
