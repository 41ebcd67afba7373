#!/usr/bin/env bash
# Lays out a sample XMPlay set-up in the current WINEPREFIX: the settings key with a few
# of the values Vellicor shows, and an install folder with the library and playlist.
set -euo pipefail
: "${WINEPREFIX:?set WINEPREFIX}"
folder="$WINEPREFIX/drive_c/Program Files/XMPlay"
mkdir -p "$folder"
printf 'sample media library\r\n' >"$folder/xmplay.library"
printf '[playlist]\r\nFile1=C:\\Music\\song.mp3\r\nnumberofentries=1\r\n' >"$folder/xmplay.pls"

key='HKCU\Software\Un4seen Developments\XMPlay2'
wine reg add "$key" /v Install_Dir /t REG_SZ /d 'C:\Program Files\XMPlay' /f >/dev/null
wine reg add "$key" /v NoTenths /t REG_DWORD /d 0 /f >/dev/null
wine reg add "$key" /v NoCheckDead /t REG_DWORD /d 1 /f >/dev/null
wine reg add "$key" /v NoTrayTitle /t REG_DWORD /d 0 /f >/dev/null
wine reg add "$key" /v NoListEllipsis /t REG_DWORD /d 0 /f >/dev/null
wine reg add "$key" /v NoCheckScan /t REG_DWORD /d 1 /f >/dev/null
wine reg add "$key" /v Boost /t REG_DWORD /d 1 /f >/dev/null
wineserver -w
