#!/usr/bin/env bash
# Start-up time on this Windows desktop: Vellicor.exe beside the plain-controls yardstick,
# the empty window and the system's notepad, started in turn in one run, each timed from
# process start until its window is visible and idle (bench/StartupBench.cpp), with the
# player's sample set-up; then Vellicor's peak working set and one refresh sweep. The
# table goes to the standard output and, on GitHub Actions, to the run's summary.
# Usage, in an MSYS2 MINGW64 shell: scripts/windows/bench.sh [runs] [sweeps]   (20 and 200)
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/windows/setup-msys2.sh
source scripts/windows/sample-player.sh
runs=${1:-20} sweeps=${2:-200}
build=build/msys2
cmake --preset msys2 >/dev/null
cmake --build --preset msys2 --target Vellicor EmptyWindow PlainControls StartupBench

exe=$build/src/win32/Vellicor.exe
trap vellicor_remove_sample_player EXIT
vellicor_sample_player "$PWD/$build/sample-player"
system=$("$vellicor_powershell" -NoProfile -Command \
  '$os = Get-CimInstance Win32_OperatingSystem; "$($os.Caption) $($os.Version)"' | tr -d '\r') || system=Windows
measured=$("$build/bench/StartupBench.exe" "$runs" "$sweeps" "Vellicor=$(cygpath -aw "$exe")" \
  "plain controls=$(cygpath -aw "$build/bench/PlainControls.exe")" \
  "empty window=$(cygpath -aw "$build/bench/EmptyWindow.exe")" "notepad=$(cygpath -aw "$(cygpath -S)/notepad.exe")" |
  tr -d '\r')
echo "$measured"

# StartupBench's lines as the README's table: "  name  12.3 ms   Vellicor / name 1.10".
table="| median of $runs starts, ms | $system, $(nproc) processors |"$'\n|---|---|\n'
while IFS= read -r line; do
  if [[ $line =~ ^\ \ (.*[^ ])\ +([0-9.]+)\ ms(.*\ ([0-9.]+))?$ ]]; then
    table+="| ${BASH_REMATCH[1]} | ${BASH_REMATCH[2]}${BASH_REMATCH[4]:+ (Vellicor / it ${BASH_REMATCH[4]})} |"$'\n'
  fi
done <<<"$measured"
summary="### Start-up on Windows"$'\n\n'"$table"$'\n'"Program file $(stat -c %s "$exe") bytes. $(tail -1 <<<"$measured")"
echo
echo "$summary"
if [[ -n ${GITHUB_STEP_SUMMARY:-} ]]; then
  echo "$summary" >>"$(cygpath -u "$GITHUB_STEP_SUMMARY")"
fi
