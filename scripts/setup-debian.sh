#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing Vellicor need, only when
# something is missing. Sourced by run.sh and test.sh.
set -euo pipefail

vellicor_packages=(
  cmake make g++ libgtest-dev googletest clang libclang-rt-14-dev lld python3 clang-tidy clang-format
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine64 fonts-wine xvfb xauth x11-apps imagemagick xdotool
)

# Node runs the workflow check (scripts/workflow-check): Debian's only where there is none.
command -v node >/dev/null || vellicor_packages+=(nodejs npm)

vellicor_missing=()
for package in "${vellicor_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || vellicor_missing+=("$package")
done

if ((${#vellicor_missing[@]})); then
  echo "Installing: ${vellicor_missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${vellicor_missing[@]}"
fi

# GitHub's workflow parser for that check, at the version its lock file pins.
if [[ ! -d scripts/workflow-check/node_modules/@actions/workflow-parser ]]; then
  npm ci --prefix scripts/workflow-check --no-audit --no-fund --loglevel=error
fi
