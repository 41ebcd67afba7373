#!/usr/bin/env bash
# Reads the built program file's headers and fails when a hardening property is missing:
# 64-bit GUI subsystem, ASLR with high entropy, DEP, Terminal Services aware, a stack
# canary, imports of the system's known DLLs only and of none of the listed functions that
# Windows 7 lacks, the names of those it looks up at run time instead, the manifest entries,
# and the size. (That the program restricts the DLL search at start is seen from outside,
# by the About window's planted-DLL test.)
set -uo pipefail
exe=$1
# Debian's cross objdump, or MSYS2's on Windows, which has no target prefix.
headers=$("${OBJDUMP:-$(command -v x86_64-w64-mingw32-objdump || echo objdump)}" -p "$exe") || { echo "cannot read $exe"; exit 1; }
text=$(strings -n 8 "$exe" | tr -d '\r')
failures=0
check() { if eval "$2"; then echo "ok:   $1"; else echo "FAIL: $1"; failures=$((failures + 1)); fi; }

check "PE32+ (64-bit)" "grep -q 'Magic.*020b' <<<\"\$headers\""
check "GUI subsystem" "grep -q 'Subsystem.*(Windows GUI)' <<<\"\$headers\""
characteristics=$((16#$(awk '/DllCharacteristics/ {print $2}' <<<"$headers")))
for bit in "0x40 ASLR (dynamic base)" "0x20 high-entropy ASLR" "0x100 DEP (NX compatible)" "0x8000 Terminal Services aware"; do
  check "${bit#* }" "(( characteristics & ${bit%% *} ))"
done
# The canary's failure routine (StackGuard.cpp) is kept only when compiled code calls it,
# and only code built with -fstack-protector does; its message survives stripping.
check "stack protector" "grep -qF '*** stack smashing detected ***' <<<\"\$text\""

# Only the system's known DLLs, which the loader never looks for beside the program. Any
# other (comctl32, version, a runtime DLL) is searched in the program's folder first,
# where a planted copy runs before the program's first line.
imports=$(awk '/^The Import Tables/ {on = 1; next} /^The / {on = 0}
               on && /DLL Name:/ {print "dll", $3} on && NF == 3 && $1 ~ /^[0-9a-f]+$/ {print "fn", $3}' <<<"$headers")
check "import table read" "grep -qx 'dll KERNEL32.dll' <<<\"\$imports\" && grep -qx 'fn CreateWindowExW' <<<\"\$imports\""
for dll in $(awk '$1 == "dll" {print $2}' <<<"$imports"); do
  check "imports $dll, one of the system's known DLLs" \
    "[[ ${dll^^} =~ ^(ADVAPI32|COMDLG32|GDI32|IMM32|KERNEL32|MSVCRT|OLE32|OLEAUT32|SHELL32|SHLWAPI|USER32)\.DLL$ ]]"
done
# Newer than Windows 7 SP1: those the program looks up at run time and a few that a
# runtime might pull in; never imported. A list, not every function Windows 7 lacks.
for function in SetDefaultDllDirectories AddDllDirectory RemoveDllDirectory GetDpiForWindow GetDpiForSystem \
                GetSystemMetricsForDpi AdjustWindowRectExForDpi SystemParametersInfoForDpi \
                SetProcessDpiAwarenessContext SetThreadDpiAwarenessContext EnableNonClientDpiScaling \
                GetWindowDpiAwarenessContext AreDpiAwarenessContextsEqual \
                LoadIconWithScaleDown GetSystemTimePreciseAsFileTime CreateFile2 SetThreadDescription; do
  grep -qx "fn $function" <<<"$imports" && check "imports $function, which Windows 7 lacks" false
done
# What only Windows can show, on the versions that have it: the DLL search restricted, the
# caption bar scaled (10 1607), a monitor's density (8.1 to 10 1511), icons scaled down, the
# check glyph's density (per-monitor v1 or v2).
for function in SetDefaultDllDirectories EnableNonClientDpiScaling GetDpiForMonitor LoadIconWithScaleDown \
                GetWindowDpiAwarenessContext; do
  check "looks up $function" "grep -qx $function <<<\"\$text\""
done

for entry in 'level="asInvoker"' 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' '>PerMonitorV2, PerMonitor<' '>true/pm<' \
             '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}' '{35138b9a-5d96-4fbd-8e2d-a2440225f93a}' '>true</longPathAware>'; do
  check "manifest: $entry" "grep -qF '$entry' <<<\"\$text\""
done
size=$(stat -c %s "$exe")
check "size $size bytes, at most 300 KB" "((size <= 300 * 1024))"
exit $((failures > 0))
