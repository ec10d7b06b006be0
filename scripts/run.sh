#!/usr/bin/env bash
# Builds the Linux program and starts it beside LibreOffice Calc, its spreadsheet.
#   On a display: LibreOffice Calc starts listening on the program's pipe, then Harumado; type a
#   workbook name and press the start button (a missing workbook is created on the Desktop), and
#   what you copy lands in Calc. Close Harumado's main window to end it (Calc stays open).
#   With no display: on a virtual screen of its own the program runs a short session itself: the
#   name "book" typed, the start button pressed (book.xlsx is created on that session's Desktop),
#   a number and a text copied by another program, read back from Calc, and a picture of the
#   screen kept (build/dev/run/calc-pasted.png). Everything it started ends with it.
# scripts/run.sh --windows   builds the Windows program and starts it under wine (on a virtual
#                            screen when there is no display: a picture is kept, then it ends).
# scripts/run.sh --sim       runs the demonstration session on the simulated desktop.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-test-deps.sh
case "${1:-}" in
  --sim)
    cmake --preset dev
    cmake --build --preset dev --target harumado-sim
    exec build/dev/src/sim/harumado-sim --trace tests/scenarios/demo.scenario
    ;;
  --windows)
    exec scripts/run-windows.sh
    ;;
  "") ;;
  *)
    echo "usage: scripts/run.sh [--windows | --sim]" >&2
    exit 2
    ;;
esac

cmake --preset dev
cmake --build --preset dev --target harumado harumado-calc-cells harumado-clipboard-owner \
  harumado-close-window
program="$PWD/build/dev/src/qt/harumado"

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: Harumado runs with LibreOffice Calc on a virtual screen and pastes a few values."
  rm -f "$PWD/build/dev/run/calc-pasted.png"
  HARUMADO_CLIPBOARD_OWNER="$PWD/build/dev/tests/qt/harumado-clipboard-owner" \
    HARUMADO_CLOSE_WINDOW="$PWD/build/dev/tests/qt/harumado-close-window" \
    tests/calc/program/calc_journeys.sh "$program" "$PWD/build/dev/tests/calc/harumado-calc-cells" \
    "$PWD/build/dev/run" paste_into_calc
  echo "picture of Calc with the pasted values: $PWD/build/dev/run/calc-pasted.png"
  exit 0
fi

# Calc listening on the program's pipe, as the program starts it when none runs.
soffice --calc --norestore --nologo "--accept=pipe,name=harumado;urp;StarOffice.ComponentContext" \
  >/dev/null 2>&1 &
echo "LibreOffice Calc and Harumado start: type a workbook name and press the start button."
exec "$program"
