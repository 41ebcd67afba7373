#!/usr/bin/env bash
# The sample player set-up that the program is shown and measured with, under Wine and on
# Windows alike: the settings key with a few of the values Vellicor shows, and an install
# folder with the library and playlist. Sourced.

vellicor_settings_key='HKCU\Software\Un4seen Developments\XMPlay2'

vellicor_write_sample_player() { # folder, the folder as Windows names it, the reg command...
  local folder=$1 windowsFolder=$2 value
  shift 2
  mkdir -p "$folder"
  printf 'sample media library\r\n' >"$folder/xmplay.library"
  printf '[playlist]\r\nFile1=C:\\Music\\song.mp3\r\nnumberofentries=1\r\n' >"$folder/xmplay.pls"
  "$@" add "$vellicor_settings_key" /v Install_Dir /t REG_SZ /d "$windowsFolder" /f >/dev/null
  for value in NoTenths=0 NoCheckDead=1 NoTrayTitle=0 NoListEllipsis=0 NoCheckScan=1 Boost=1; do
    "$@" add "$vellicor_settings_key" /v "${value%=*}" /t REG_DWORD /d "${value#*=}" /f >/dev/null
  done
}
