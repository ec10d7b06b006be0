#!/usr/bin/env bash
# The Linux program with LibreOffice Calc: paste_into_calc.sh PROGRAM CALC-CELLS ARTIFACTS
# The session of the Linux program's harness (tests/qt/harness/session.sh: its own virtual
# screen, window manager, HOME and program folder), the program run without the simulated
# spreadsheet's report, so that it uses Calc: the start button creates book.xlsx on the Desktop
# with a LibreOffice that the program starts (with the session's HOME, so a profile of its own),
# and copies made by another program land in its cells, read through UNO (CALC-CELLS). The
# LibreOffice is ended afterwards. Every wait is for a condition, with a bound.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(realpath "${1:?program}")
cells=$(realpath "${2:?harumado-calc-cells}")
PROGRAM_ARTIFACTS=$(realpath -m "${3:?artifacts folder}")
# shellcheck source=../../qt/harness/session.sh
source "$here/../../qt/harness/session.sh"
readonly PIPE=harumado

COPIER_PID=""
copy() {
  end_copier
  "${HARUMADO_CLIPBOARD_OWNER:?the clipboard owner program}" "$@" >"$SESSION/copier.out" 2>&1 &
  COPIER_PID=$!
  wait_for 10 grep -q owned "$SESSION/copier.out" || fail "the copier did not take the clipboard"
}
end_copier() {
  [[ -n $COPIER_PID ]] || return 0
  kill "$COPIER_PID" 2>/dev/null || true
  wait "$COPIER_PID" 2>/dev/null || true
  COPIER_PID=""
}
cell_is() { timeout 20 "$cells" "$PIPE" 4 2>/dev/null | grep -qx -- "$1"; }
end_office() { timeout 30 "$cells" "$PIPE" quit >/dev/null 2>&1 || true; }

# Nothing may answer on the program's pipe before: the case needs the LibreOffice it starts.
if timeout 20 "$cells" "$PIPE" 1 >/dev/null 2>&1; then
  echo "a LibreOffice already listens on the pipe '$PIPE'" >&2
  exit 1
fi
trap 'end_copier; end_office; end_session' EXIT

start_session 96
prepare_program "$program"
(
  cd "$SESSION/app"
  exec env HOME="$SESSION/home" XDG_CONFIG_HOME="$SESSION/home/.config" \
    XDG_RUNTIME_DIR="$SESSION/run" XDG_DESKTOP_DIR="$SESSION/home/Desktop" \
    SPEECHD_ADDRESS="unix_socket:$SESSION/run/no-speech" SAL_USE_VCLPLUGIN=gen \
    HARUMADO_WINDOWS_REPORT="$SESSION/windows.txt" LANG=ja_JP.UTF-8 ./harumado
) >"$SESSION/program.log" 2>&1 &
PROGRAM_PID=$!
wait_for 30 shown Form1 || fail "the main window did not appear"

click Form1.Text3
xdotool type --delay 20 "book"
expect Form1.Text3.text book
click Form1.Command5
wait_for 120 test -f "$SESSION/home/Desktop/book.xlsx" || fail "no workbook created on the Desktop"
# Pasting is on once a copy lands in A1: the first copies may come before the paste loop has
# looked at the clipboard.
landed=""
for attempt in 1 2 3 4 5 6 7 8 9 10; do
  copy "1,234.5"
  if wait_for 5 cell_is "A1 VALUE 1235"; then landed=1; break; fi
done
[[ -n $landed ]] || fail "the copied number is not in A1: $(timeout 20 "$cells" "$PIPE" 4 2>&1)"
copy "売上"
wait_for 10 cell_is "A2 TEXT 売上" || fail "the copied text is not in A2: $(timeout 20 "$cells" "$PIPE" 4 2>&1)"
expect Form1.Text2.text "小数点以下(四捨五入)カンマなしで貼り付けます。"
mkdir -p "$PROGRAM_ARTIFACTS"
import -window root "$PROGRAM_ARTIFACTS/calc-pasted.png" || true
end_copier
close_program
end_office
trap 'end_copier; end_session' EXIT
if ((FAILURES > 0)); then
  echo "paste-into-calc: $FAILURES expectation(s) failed" >&2
  exit 1
fi
echo "paste-into-calc: passed"
