#!/usr/bin/env bash
# The player's settings key, without which Vellicor refuses to start, with the sample
# set-up (../sample-player.sh). Made only where the key is missing (a player's own settings
# are used as they are and never changed) and removed again, with any parent key made for
# it, by vellicor_remove_sample_player. Sourced by the scripts beside it.

source "$(dirname "${BASH_SOURCE[0]}")/../sample-player.sh"
vellicor_made_keys=()

# reg.exe's switches start with a slash, which MSYS2 would take for a path to convert.
vellicor_reg() { MSYS2_ARG_CONV_EXCL='*' reg "$@" >/dev/null 2>&1; }

vellicor_sample_player() { # install folder
  vellicor_reg query "$vellicor_settings_key" && return 0
  vellicor_reg query "${vellicor_settings_key%\\*}" || vellicor_made_keys+=("${vellicor_settings_key%\\*}")
  vellicor_made_keys+=("$vellicor_settings_key")
  vellicor_write_sample_player "$1" "$(cygpath -w "$1")" vellicor_reg
}

vellicor_remove_sample_player() {
  # The parent, if made here, holds nothing else: deleting it deletes the settings too.
  if ((${#vellicor_made_keys[@]})); then
    vellicor_reg delete "${vellicor_made_keys[0]}" /f
    vellicor_made_keys=()
  fi
}
