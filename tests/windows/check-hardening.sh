#!/usr/bin/env bash
# Reads the built program file's headers and fails when a hardening property is
# missing: 64-bit GUI subsystem, ASLR with high entropy, DEP, a static runtime (no DLL
# outside Windows' own), the DLL search restricted at start, and the manifest entries.
set -uo pipefail
exe=$1
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
headers=$("$objdump" -p "$exe") || { echo "cannot read $exe"; exit 1; }
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok:   $*"; }

grep -q 'Magic.*020b' <<<"$headers" && pass "PE32+ (64-bit)" || fail "not a 64-bit program"
grep -q 'Subsystem.*(Windows GUI)' <<<"$headers" && pass "GUI subsystem" || fail "not a GUI program"

characteristics=$((16#$(awk '/DllCharacteristics/ {print $2}' <<<"$headers")))
for bit in "0x40 ASLR (dynamic base)" "0x20 high-entropy ASLR" "0x100 DEP (NX compatible)"; do
  value=${bit%% *}
  (( characteristics & value )) && pass "${bit#* }" || fail "${bit#* } missing"
done

# Only DLLs that ship with every Windows; anything else (libstdc++, libgcc, winpthread)
# means the runtime was not linked statically.
allowed='^(ADVAPI32|COMCTL32|GDI32|KERNEL32|USER32|SHELL32|VERSION|msvcrt|ucrtbase|api-ms-win-.*)\.dll$'
while read -r dll; do
  [[ $dll =~ $allowed ]] && pass "imports $dll" || fail "imports $dll, which is not part of Windows"
done < <(awk '/DLL Name:/ {print $3}' <<<"$headers")

grep -q 'SetDefaultDllDirectories' <<<"$headers" && pass "restricts its DLL search" || fail "SetDefaultDllDirectories not imported"

manifest=$(strings -n 8 "$exe" | tr -d '\r')
for entry in 'level="asInvoker"' 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' \
             '>PerMonitorV2<' '>true/pm<' '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}' '>true</longPathAware>'; do
  grep -qF "$entry" <<<"$manifest" && pass "manifest: $entry" || fail "manifest lacks $entry"
done

size=$(stat -c %s "$exe")
echo "size: $size bytes"
exit $((failures > 0))
