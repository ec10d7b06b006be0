#!/usr/bin/env bash
# Runs the harness under wine inside the session of scripts/test-windows.sh. Wine's output goes
# to a file first (wine's side processes would keep a pipe open), then to this test's output.
#   run-under-wine.sh HARNESS.exe ARGS...
set -uo pipefail
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "the Windows tests run inside scripts/test-windows.sh (it gives them wine and a screen)"
  exit 1
fi
log=$(mktemp)
timeout 100 wine "$@" </dev/null >"$log" 2>&1
rc=$?
# Wine's loader itself now and then dies of a segmentation fault as it starts (seen once in a
# clean run), before the harness has run or printed anything: that start is made once more. A
# crash after the harness has begun (anything in its output) counts as the test's failure.
if [ $rc -eq 139 ] && [ ! -s "$log" ]; then
  echo "wine crashed as it started, before the harness ran: starting it once more"
  timeout 100 wine "$@" </dev/null >"$log" 2>&1
  rc=$?
fi
tr -d '\r' <"$log"
rm -f "$log"
[ $rc -eq 124 ] && echo "the harness did not finish in 100 s"
exit $rc
