# The harness's session: a virtual X screen of its own, a window manager on it, the program in
# a folder of its own with its own HOME, XDG folders and settings file, and the means to wait for
# what the program shows. Sourced by run.sh; everything started here ends with the session.
#
# Waiting is always for a condition, polled, with a bound: nothing waits a fixed time.

set -euo pipefail

SESSION=""        # the session's temporary folder
DISPLAY_NUMBER=""
XVFB_PID=""
WM_PID=""
XSETTINGS_PID=""
PROGRAM_PID=""
FAILURES=0

fail() {
  echo "FAIL: $*" >&2
  FAILURES=$((FAILURES + 1))
}

# Stops whatever the session started, by its process id, and removes its folder.
end_session() {
  local pid
  for pid in "$PROGRAM_PID" "$XSETTINGS_PID" "$WM_PID" "$XVFB_PID"; do
    [[ -n $pid ]] || continue
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  PROGRAM_PID="" XSETTINGS_PID="" WM_PID="" XVFB_PID=""
  [[ -n $SESSION && -d $SESSION ]] && rm -rf "$SESSION"
  SESSION=""
}
trap end_session EXIT

# wait_for SECONDS COMMAND...: true as soon as the command succeeds, false when the bound
# passes first.
wait_for() {
  local limit=$1
  shift
  local deadline=$((SECONDS + limit))
  while ((SECONDS <= deadline)); do
    if "$@" 2>/dev/null; then return 0; fi
    sleep 0.05
  done
  return 1
}

# start_session DPI [wm]: Xvfb at that DPI (the desktop's font DPI, Xft.dpi, says the same),
# and a window manager unless told "none".
start_session() {
  local dpi=$1 wm=${2:-openbox}
  SESSION=$(mktemp -d "${TMPDIR:-/tmp}/harumado-qt.XXXXXX")
  mkdir -p "$SESSION/home/Desktop" "$SESSION/home/.config" "$SESSION/run" "$SESSION/app"
  chmod 700 "$SESSION/run"
  exec {display_fd}>"$SESSION/display"
  Xvfb -displayfd "$display_fd" -screen 0 1920x1080x24 -dpi "$dpi" -noreset -nolisten tcp \
    >"$SESSION/xvfb.log" 2>&1 &
  XVFB_PID=$!
  exec {display_fd}>&-
  wait_for 20 test -s "$SESSION/display" || { fail "Xvfb did not start"; return 1; }
  DISPLAY_NUMBER=$(head -n1 "$SESSION/display")
  export DISPLAY=":$DISPLAY_NUMBER"
  wait_for 20 xwininfo -root >/dev/null || { fail "the X screen does not answer"; return 1; }
  xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:	$dpi"
  if [[ $wm != none ]]; then
    HOME="$SESSION/home" XDG_CONFIG_HOME="$SESSION/home/.config" openbox \
      >"$SESSION/wm.log" 2>&1 &
    WM_PID=$!
    wait_for 20 root_has _NET_SUPPORTING_WM_CHECK || { fail "the window manager did not start"; return 1; }
  fi
}

# start_xsettings DPI: a settings manager as a desktop runs one (xsettingsd), telling the
# programs the desktop's font DPI (Xft/DPI, in 1024ths); ready once it owns the settings.
start_xsettings() {
  printf 'Xft/DPI %d\n' $(($1 * 1024)) >"$SESSION/xsettingsd.conf"
  xsettingsd -c "$SESSION/xsettingsd.conf" >"$SESSION/xsettingsd.log" 2>&1 &
  XSETTINGS_PID=$!
  wait_for 20 grep -q "Took ownership of selection" "$SESSION/xsettingsd.log" ||
    { fail "the settings manager did not start"; return 1; }
}

# set_xsettings_dpi DPI: the desktop's font DPI changes, as its settings change it.
set_xsettings_dpi() {
  printf 'Xft/DPI %d\n' $(($1 * 1024)) >"$SESSION/xsettingsd.conf"
  kill -HUP "$XSETTINGS_PID"
}

root_has() { xprop -root "$1" | grep -q 'window id'; }

# prepare_program PROGRAM [SETTINGS]: the program file in the session's folder, with a settings
# file beside it when SETTINGS is given (printf format).
prepare_program() {
  cp "$1" "$SESSION/app/harumado"
  if [[ $# -ge 2 ]]; then printf -- "$2" >"$SESSION/app/Harumado.dat"; fi
}

settings_file() { echo "$SESSION/app/Harumado.dat"; }

# start_program [NAME=VALUE...]: runs it with the session's HOME and folders, its windows and its
# simulated workbooks reported to files, no voice server, and the given variables on top (an
# empty HARUMADO_SIM_REPORT leaves the program its real spreadsheet); waits until the main window
# is shown.
start_program() {
  (
    cd "$SESSION/app"
    exec env HOME="$SESSION/home" XDG_CONFIG_HOME="$SESSION/home/.config" \
      XDG_RUNTIME_DIR="$SESSION/run" XDG_DESKTOP_DIR="$SESSION/home/Desktop" \
      SPEECHD_ADDRESS="unix_socket:$SESSION/run/no-speech" \
      HARUMADO_WINDOWS_REPORT="$SESSION/windows.txt" HARUMADO_SIM_REPORT="$SESSION/workbooks.txt" \
      LANG=ja_JP.UTF-8 "$@" ./harumado
  ) >"$SESSION/program.log" 2>&1 &
  PROGRAM_PID=$!
  wait_for 30 shown Form1 || { fail "the main window did not appear"; cat "$SESSION/program.log" >&2; return 1; }
}

# fact KEY: the value of KEY in the windows report ("" when absent).
fact() {
  [[ -f $SESSION/windows.txt ]] || return 0
  grep -m1 -F -- "$1=" "$SESSION/windows.txt" | sed -n "s/^$(printf '%s' "$1" | sed 's/[.[\*^$]/\\&/g')=//p"
}

# workbook_fact PREFIX: the lines of the workbook report that start with PREFIX.
workbook_lines() { [[ -f $SESSION/workbooks.txt ]] && grep -F -- "$1" "$SESSION/workbooks.txt" || true; }

shown() { [[ $(fact "$1.visible") == 1 ]]; }

# paste_watching [CYCLES-BEFORE NEEDED]: pasting is on: a paste loop runs and has taken the
# clipboard as it stands, so that the next copy is a change it pastes; seen as a loop running
# with NEEDED more cycles done than CYCLES-BEFORE (read before the press). By default those of a
# first start that created the workbook: two cycles, as the first is the one cycle of a nested
# press's loop.
paste_watching() {
  local before=${1:-0} needed=${2:-2} loops cycles
  loops=$(fact Program.paste-loops)
  cycles=$(fact Program.paste-cycles)
  ((${loops:-0} >= 1 && ${cycles:-0} >= before + needed))
}

fact_is() { [[ $(fact "$1") == "$2" ]]; }

# expect KEY VALUE [SECONDS]: the fact comes to have the value within the bound.
expect() {
  local key=$1 value=$2 limit=${3:-10}
  if ! wait_for "$limit" fact_is "$key" "$value"; then
    fail "$key: expected '$value', got '$(fact "$key")'"
  fi
  return 0
}

# The X window of a window shown by the program, by its caption.
x_window() {
  xdotool search --all --onlyvisible --pid "$PROGRAM_PID" --name "^$1\$" 2>/dev/null | head -n1 || true
}
has_x_window() { [[ -n $(x_window "$1") ]]; }

# click CONTROL: a left click at the middle of a control of a window ("Form1.Text1").
click() {
  local x y w h
  read -r x y w h <<<"$(fact "$1.screen")"
  [[ -n $x ]] || { fail "no control $1"; return 1; }
  # No --sync: a pointer already there would wait for a motion that never comes. The X server
  # takes the move before the click in any case.
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
}

# screenshot WINDOW-CAPTION NAME: a picture of the window into the artifacts.
screenshot() {
  local window
  wait_for 10 has_x_window "$1" || { fail "no window '$1' to take a picture of"; return 1; }
  window=$(x_window "$1")
  mkdir -p "$PROGRAM_ARTIFACTS"
  import -window "$window" "$PROGRAM_ARTIFACTS/$2.png"
}

# close_program: the main window's close box (the window manager's close request, sent as the
# window manager sends it); waits for the program to end.
close_program() {
  local window
  wait_for 10 has_x_window Harumado || { fail "no main window to close"; return 1; }
  window=$(x_window Harumado)
  "${HARUMADO_CLOSE_WINDOW:?the close request program}" "$window"
  program_ended() { ! kill -0 "$PROGRAM_PID" 2>/dev/null; }
  if ! wait_for 20 program_ended; then
    fail "the program did not end after its main window was closed"
    return 1
  fi
  local status=0
  wait "$PROGRAM_PID" 2>/dev/null || status=$?
  PROGRAM_PID=""
  # A sanitizer's report ends the program with another status.
  if ((status != 0)); then
    fail "the program ended with status $status"
    tail -n 60 "$SESSION/program.log" >&2
  fi
}

# Another program copies: copy TEXT [secret] takes the clipboard with the text (marked as a
# secret for clipboard monitors) and holds it until the next copy or the session's end.
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
