#!/usr/bin/env bash
# Helpers for a throwaway Wine prefix and a private X display. Sourced by test.sh,
# run.sh and the benchmark; never touches the user's own prefix unless asked to.

export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEARCH=win64
# Without a UTF-8 locale Wine cannot name files with non-ASCII letters.
case "${LANG:-C}" in C | POSIX) export LANG=C.UTF-8 ;; esac

# A booted prefix is cached in the build folder and copied for every run, so that
# each run starts from the same clean registry (booting takes ~10 s, copying ~1 s).
vellicor_fresh_prefix() { # template-dir target-dir [without-fonts]
  local template=$1 target=$2 fonts=${3:-with-fonts}
  if [[ ! -f "$template/system.reg" ]]; then
    rm -rf "$template"
    mkdir -p "$(dirname "$template")"
    WINEPREFIX="$template" timeout 300 wine wineboot --init >"$template.log" 2>&1 || true
    WINEPREFIX="$template" timeout 60 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >>"$template.log" 2>&1
    WINEPREFIX="$template" wineserver -w
    [[ -f "$template/system.reg" ]] || { echo "wineboot failed, see $template.log" >&2; return 1; }
  fi
  rm -rf "$target"
  cp -a "$template" "$target"
  # Wine ships its own MS Sans Serif (and Marlett, for the caption buttons), but finds
  # them only in the prefix's Fonts folder; without them every caption falls back to a
  # wider font. A freshly made prefix, as a user's own usually is, lacks them: asked
  # for, the prefix is left so.
  [[ $fonts == without-fonts ]] && return 0
  local font
  for font in ms_sans_serif.ttf sserife.fon marlett.ttf; do
    [[ -f /usr/share/wine/fonts/$font ]] && cp "/usr/share/wine/fonts/$font" "$target/drive_c/windows/Fonts/"
  done
  return 0
}

# Runs every program of the prefix inside one Wine virtual desktop. Wine then manages
# the windows itself instead of waiting on an X window manager that Xvfb doesn't have:
# a message box that follows another one appears in milliseconds instead of after a
# two-second wait, and windows get Wine's own frames and captions.
vellicor_use_virtual_desktop() {
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1280x1024 /f >/dev/null 2>&1
  wineserver -w
}

# Starts Xvfb on a free display and exports DISPLAY; VELLICOR_XVFB_PID is its pid.
vellicor_start_display() {
  local n
  for n in $(seq 90 140); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    VELLICOR_XVFB_PID=$!
    for _ in $(seq 50); do
      [[ -e /tmp/.X11-unix/X$n ]] && { export DISPLAY=":$n"; return 0; }
      kill -0 "$VELLICOR_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "could not start Xvfb" >&2
  return 1
}

vellicor_stop_wine_and_display() {
  [[ -n "${WINEPREFIX:-}" ]] && wineserver -k >/dev/null 2>&1 || true
  [[ -n "${VELLICOR_XVFB_PID:-}" ]] && kill "$VELLICOR_XVFB_PID" >/dev/null 2>&1 || true
}
