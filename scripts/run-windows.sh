#!/usr/bin/env bash
# Builds the Windows program and starts it under wine (on this display, or on a virtual screen
# when there is none: then a picture of the screen is kept and the program is ended after a few
# seconds). Called by scripts/run.sh --windows.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-test-deps.sh
cmake --preset windows
cmake --build --preset windows --target harumado
program="$PWD/build/windows/src/win32/harumado.exe"
# shellcheck source=scripts/wine-session.sh
source scripts/wine-session.sh
trap wine_session_stop EXIT
wine_session_start "$PWD/build/windows/wine-run" --visible
if [ -z "$XVFB_PID" ]; then
  echo "Harumado runs under wine on $DISPLAY; close its main window to end it."
  wine "$program" </dev/null >"$WINE_SESSION_ROOT/logs/harumado.log" 2>&1 || true
else
  echo "No display: Harumado runs on a virtual screen for a few seconds."
  wine "$program" </dev/null >"$WINE_SESSION_ROOT/logs/harumado.log" 2>&1 &
  sleep 6
  shot="$PWD/build/windows/run-screenshot.png"
  import -window root "$shot" && echo "picture of the screen: $shot"
fi
