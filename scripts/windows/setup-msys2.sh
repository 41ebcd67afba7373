#!/usr/bin/env bash
# Installs the MSYS2 packages that building and testing Vellicor natively on Windows need,
# only when something is missing. Sourced by the scripts beside it, which run in an MSYS2
# MINGW64 shell: its MinGW-w64 targets the msvcrt runtime like Debian's, which builds the
# releases (UCRT64's would need the Universal CRT, which Windows 7 lacks unless updated).
set -euo pipefail

if [[ ${MSYSTEM:-} != MINGW64 ]]; then
  echo "Run this in an MSYS2 MINGW64 shell (MSYSTEM is '${MSYSTEM:-}')" >&2
  exit 2
fi

vellicor_packages=(mingw-w64-x86_64-gcc mingw-w64-x86_64-cmake mingw-w64-x86_64-ninja git)
vellicor_missing=()
for package in "${vellicor_packages[@]}"; do
  pacman -Q "$package" >/dev/null 2>&1 || vellicor_missing+=("$package")
done
if ((${#vellicor_missing[@]})); then
  echo "Installing: ${vellicor_missing[*]}"
  pacman -S --needed --noconfirm "${vellicor_missing[@]}"
fi

# Windows PowerShell, whatever the shell's PATH holds.
vellicor_powershell=$(cygpath -S)/WindowsPowerShell/v1.0/powershell.exe
echo "$(g++ --version | head -1); $(cmake --version | head -1)"
