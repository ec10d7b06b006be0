#!/usr/bin/env bash
# Builds the Windows program and starts it under wine (on this display, or on a virtual screen
# when there is none: then a picture of the screen is kept once the main window is shown, and the
# program is ended). Called by scripts/run.sh --windows.
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
  echo "No display: Harumado runs on a virtual screen until its main window is shown."
  wine "$program" </dev/null >"$WINE_SESSION_ROOT/logs/harumado.log" 2>&1 &
  # The picture is taken once the main window is on the screen (within a bound).
  shown=""
  for _ in $(seq 1 300); do
    if xdotool search --onlyvisible --name '^Harumado$' >/dev/null 2>&1; then shown=1; break; fi
    sleep 0.1
  done
  [ -n "$shown" ] || echo "the main window did not appear within 30 s (see $WINE_SESSION_ROOT/logs/harumado.log)"
  # ...and has finished drawing: two pictures of the screen in a row are the same.
  shot="$PWD/build/windows/run-screenshot.png"
  previous="$WINE_SESSION_ROOT/logs/previous-screen.rgb" current="$WINE_SESSION_ROOT/logs/screen.rgb"
  : >"$previous"
  for _ in $(seq 1 50); do
    import -window root rgb:"$current" 2>/dev/null || break
    if cmp -s "$current" "$previous"; then break; fi
    mv "$current" "$previous"
    sleep 0.2
  done
  import -window root "$shot" && echo "picture of the screen: $shot"
fi
