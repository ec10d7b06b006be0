#!/usr/bin/env bash
# The scenarios with Excel run in a wine prefix of their own, beside the session's, in which the
# Excel double is registered for "Excel.Application" and the voice double under SpVoice's class
# (so the other Windows tests keep wine's own classes).
#   run-with-doubles.sh setup EXCEL_DOUBLE.exe VOICE_DOUBLE.dll
#   run-with-doubles.sh run HARNESS.exe PROGRAM.exe SCENARIO EXCEL_DOUBLE.exe VOICE_DOUBLE.dll
#   run-with-doubles.sh bench HARNESS.exe PROGRAM.exe EXCEL_DOUBLE.exe VOICE_DOUBLE.dll ROWS CELL_ROWS
#   run-with-doubles.sh cleanup
set -uo pipefail
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "the Windows tests run inside scripts/test-windows.sh (it gives them wine and a screen)"
  exit 1
fi
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=scripts/wine-session.sh
source "$here/../../scripts/wine-session.sh"
export WINEPREFIX="${WINEPREFIX%/}-doubles"
logs="$WINEPREFIX-logs"
mkdir -p "$logs"

# Bounded, output to a file (wine's side processes would hold a pipe open).
quiet() {
  local seconds=$1
  shift
  timeout "$seconds" "$@" </dev/null >>"$logs/wine.log" 2>&1
}

register() {
  quiet 60 wine "$1" /regserver || { echo "the Excel double did not register"; return 1; }
  quiet 60 wine regsvr32 /s "$2" || { echo "the voice double did not register"; return 1; }
}

# The server (and with it the service manager and COM's RpcSs) stays up between the tests. In a
# fresh prefix, and after the server was started afresh, the service database stays locked for a
# while (about 20 s), and a local server's activation started meanwhile never finishes: this
# waits until RpcSs can be started.
ready() {
  quiet 30 wineserver -p
  local _
  for _ in $(seq 1 45); do
    quiet 40 wine net start rpcss && return 0
    sleep 2
  done
  echo "COM's RpcSs service could not be started"
  return 1
}

# Every Excel double ends; one that does not answer ends with everything else in this prefix
# (all of it started by these tests), and the prefix is made ready again.
close_excel() {
  quiet 30 wine "$1" /close-all && return 0
  echo "an Excel double did not quit; the prefix's processes are ended"
  quiet 30 wineserver -k
  ready
}

# The prefix with wine's settings and the doubles registered.
setup() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    quiet 180 wineboot -i || { echo "wineboot failed (see $logs/wine.log)"; return 1; }
  fi
  ready || return 1
  wine_settings "$logs/settings.reg"
  quiet 60 wine regedit /S "$(winepath_of "$logs/settings.reg")" ||
    { echo "the registry settings were not imported"; return 1; }
  register "$1" "$2"
}

case "${1:-}" in
  setup)
    setup "$2" "$3"
    exit $?
    ;;
  run)
    harness=$2 program=$3 scenario=$4 excel=$5 voice=$6
    register "$excel" "$voice" || exit 1
    close_excel "$excel" || exit 1
    log=$(mktemp)
    timeout 100 wine "$harness" "$program" "$scenario" "$excel" "$voice" </dev/null >"$log" 2>&1
    rc=$?
    tr -d '\r' <"$log"
    rm -f "$log"
    [ $rc -eq 124 ] && echo "the harness did not finish in 100 s"
    close_excel "$excel"
    exit $rc
    ;;
  bench)
    harness=$2 program=$3 excel=$4 voice=$5 rows=$6 cell_rows=$7
    setup "$excel" "$voice" || exit 1
    close_excel "$excel" || exit 1
    log=$(mktemp)
    timeout 1200 wine "$harness" excel-benchmark "$program" "$rows" "$cell_rows" </dev/null >"$log" 2>&1
    rc=$?
    tr -d '\r' <"$log"
    rm -f "$log"
    close_excel "$excel"
    quiet 30 wineserver -k
    exit $rc
    ;;
  cleanup)
    quiet 30 wineserver -k
    exit 0
    ;;
esac
echo "usage: run-with-doubles.sh setup|run|cleanup ..."
exit 2
