#!/usr/bin/env bash
# The player's settings key, without which Vellicor refuses to start, with a sample set-up:
# an install folder holding the media library and the playlist, and a few of the values
# Vellicor shows. Made only where the key is missing (a player's own settings are used as
# they are and never changed) and removed again, with any parent key made for it, by
# vellicor_remove_sample_player. Sourced by the scripts beside it.

vellicor_settings_key='HKCU\Software\Un4seen Developments\XMPlay2'
vellicor_made_keys=()

# reg.exe's switches start with a slash, which MSYS2 would take for a path to convert.
vellicor_reg() { MSYS2_ARG_CONV_EXCL='*' reg "$@" >/dev/null 2>&1; }

vellicor_sample_player() { # install folder
  vellicor_reg query "$vellicor_settings_key" && return 0
  vellicor_reg query "${vellicor_settings_key%\\*}" || vellicor_made_keys+=("${vellicor_settings_key%\\*}")
  vellicor_made_keys+=("$vellicor_settings_key")
  mkdir -p "$1"
  printf 'sample media library\r\n' >"$1/xmplay.library"
  printf '[playlist]\r\nFile1=C:\\Music\\song.mp3\r\nnumberofentries=1\r\n' >"$1/xmplay.pls"
  vellicor_reg add "$vellicor_settings_key" /v Install_Dir /t REG_SZ /d "$(cygpath -w "$1")" /f
  local value
  for value in NoTenths=0 NoCheckDead=1 NoTrayTitle=0 NoListEllipsis=0 NoCheckScan=1 Boost=1; do
    vellicor_reg add "$vellicor_settings_key" /v "${value%=*}" /t REG_DWORD /d "${value#*=}" /f
  done
}

vellicor_remove_sample_player() {
  # The parent, if made here, holds nothing else: deleting it deletes the settings too.
  if ((${#vellicor_made_keys[@]})); then
    vellicor_reg delete "${vellicor_made_keys[0]}" /f
    vellicor_made_keys=()
  fi
}
