#!/usr/bin/env bash
# Runs one Windows program under Wine for CTest. The prefix and the display come from
# the environment that scripts/test.sh sets up; running without them would touch the
# user's own Wine prefix, so refuse.
set -euo pipefail
if [[ -z "${WINEPREFIX:-}" || -z "${VELLICOR_TEST_PREFIX:-}" || "$WINEPREFIX" != "$VELLICOR_TEST_PREFIX" ]]; then
  echo "wine-exec.sh: run the Windows tests through scripts/test.sh (it makes a throwaway WINEPREFIX)" >&2
  exit 2
fi
export WINEDEBUG="${WINEDEBUG:--all}"
exec timeout --kill-after=5 "${VELLICOR_TEST_TIMEOUT:-240}" wine "$@"
