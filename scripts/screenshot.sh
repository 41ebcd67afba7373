#!/usr/bin/env bash
# Screenshot of Vellicor's main window: starts it inside a Wine virtual desktop (so that
# Wine draws the window frame and caption itself) on the current DISPLAY, waits until
# it is idle, saves the window's area as a PNG and ends the program.
# Usage: screenshot.sh path/to/Vellicor.exe out.png   (WINEPREFIX and DISPLAY set)
set -euo pipefail
exe=$1 out=$2
: "${WINEPREFIX:?}" "${DISPLAY:?}"
wine explorer /desktop=VellicorShot,560x400 "$exe" >/dev/null 2>&1 &
desktop=$!
for _ in $(seq 150); do
  xwininfo -root -tree 2>/dev/null | grep -q 'VellicorShot' && break
  sleep 0.1
done
sleep 2
id=$(xwininfo -root -tree | awk '/VellicorShot/ {print $1; exit}')
import -window "$id" -crop 399x322+0+0 +repage "$out"
kill "$desktop" 2>/dev/null || true
wineserver -k 2>/dev/null || true
