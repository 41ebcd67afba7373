#!/usr/bin/env bash
# Start-up time of Vellicor.exe side by side with the program of an earlier commit, Wine's
# notepad, an empty window and a plain window with the same 22 standard controls, started
# in turn in one run: in a prefix with Wine's MS Sans Serif and in one without it, as a
# user's freshly made prefix is. Each with a sample player set-up, on a private display.
# Usage: scripts/bench.sh [runs] [sweeps] [commit]    (20, 1000 and 8da2f44 when not given)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup-debian.sh
source scripts/wine-env.sh
runs=${1:-20} sweeps=${2:-1000}
commit=$(git rev-parse --verify "${3:-8da2f44}^{commit}")
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$(nproc)" --target Vellicor EmptyWindow PlainControls StartupBench >/dev/null

# The earlier program, built from that commit's files alone in a folder of its own (kept
# for later runs): the working tree and its build stay as they are.
old=$PWD/build/bench-old/$commit
if [[ ! -f $old/Vellicor.exe ]]; then
  rm -rf "$old"
  mkdir -p "$old/tree"
  git archive "$commit" | tar -x -C "$old/tree"
  cmake -S "$old/tree" -B "$old/build" --toolchain "$old/tree/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$old/build" -j "$(nproc)" --target Vellicor >/dev/null
  # Where that commit's layout put the program: src/win32 now, src/platform/win32 before.
  cp "$(find "$old/build/src" -name Vellicor.exe -print -quit)" "$old/Vellicor.exe"
fi

exe=$PWD/build/mingw/src/win32/Vellicor.exe
echo "program file: $(stat -c %s "$exe") bytes"
trap 'wineserver -k >/dev/null 2>&1 || true; vellicor_stop_wine_and_display' EXIT
vellicor_start_display
for fonts in with-fonts without-fonts; do
  export WINEPREFIX=$PWD/build/bench-prefix-$fonts
  vellicor_fresh_prefix "$PWD/build/wine-template" "$WINEPREFIX" "$fonts"
  scripts/seed-sample-player.sh
  echo
  echo "prefix $fonts Wine's MS Sans Serif; load at start:$(uptime | sed 's/.*load average://')"
  wine build/mingw/bench/StartupBench.exe "$runs" "$sweeps" "Vellicor=$(winepath -w "$exe")" \
    "${commit:0:7}=$(winepath -w "$old/Vellicor.exe")" 'notepad=C:\windows\system32\notepad.exe' \
    "empty=$(winepath -w build/mingw/bench/EmptyWindow.exe)" \
    "controls=$(winepath -w build/mingw/bench/PlainControls.exe)"
  echo "load at end:$(uptime | sed 's/.*load average://')"
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
done
