# Builds Vellicor.exe with the Microsoft compiler, as the README's Visual Studio steps do,
# so that their promise is checked: every warning at level 4 fails the build (/W4 /WX, set
# in CMakeLists.txt). Needs CMake and Visual Studio with its C++ workload; no developer
# prompt. The program lands in build\msvc\src\win32\Release\Vellicor.exe.
#   powershell -NoProfile -ExecutionPolicy Bypass -File scripts\windows\build-msvc.ps1 [-Generator "Visual Studio 17 2022"]
param([string]$Generator = 'Visual Studio 17 2022')
$ErrorActionPreference = 'Stop'
Set-Location (Join-Path $PSScriptRoot '..\..')

cmake -S . -B build/msvc -G $Generator -A x64
if ($LASTEXITCODE -ne 0) { exit $LASTEXITCODE }
cmake --build build/msvc --config Release --target Vellicor
if ($LASTEXITCODE -ne 0) { exit $LASTEXITCODE }
Get-Item build/msvc/src/win32/Release/Vellicor.exe | Format-Table Name, Length -AutoSize
