#!/usr/bin/env bash
# Screenshots of Vellicor's windows: starts it inside a Wine virtual desktop (so that
# Wine draws the window frames and captions itself) on the current DISPLAY, saves the
# main window as a PNG, optionally opens the About window from the keyboard (Tab to
# "About...", Space) and saves that too, then ends the program.
# Usage: screenshot.sh Vellicor.exe main.png [about.png]   (WINEPREFIX and DISPLAY set)
# With VELLICOR_DPI set (96, 144, ...), the prefix's density is set to it first.
set -euo pipefail
exe=$1 main=$2 about=${3:-}
: "${WINEPREFIX:?}" "${DISPLAY:?}"
if [[ -n ${VELLICOR_DPI:-} ]]; then
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$VELLICOR_DPI" /f >/dev/null 2>&1
fi
wine explorer /desktop=VellicorShot,900x700 "$exe" >/dev/null 2>&1 &
desktop=$!
for _ in $(seq 150); do
  xwininfo -root -tree 2>/dev/null | grep -q 'VellicorShot' && break
  sleep 0.1
done
sleep 2
id=$(xwininfo -root -tree | awk '/VellicorShot/ {print $1; exit}')
# The windows open in the desktop's top left corner (the About window over the main
# one): a border of the desktop's own colour lets -trim cut the picture to them.
shoot() {
  import -window "$id" "$1"
  local background
  background=$(convert "$1" -format '%[pixel:p{899,699}]' info:)
  convert "$1" -bordercolor "$background" -border 1 -trim +repage "$1"
}
shoot "$main"
if [[ -n $about ]]; then
  xdotool mousemove --window "$id" 890 690 key Tab space
  sleep 1.5
  shoot "$about"
fi
kill "$desktop" 2>/dev/null || true
wineserver -k 2>/dev/null || true
