#!/usr/bin/env bash
# Runs harumado-sim on a scenario and checks its exit code and that its output holds a line.
# usage: check_output.sh SIM FILE EXIT_CODE EXPECTED_LINE
set -u
sim=$1 file=$2 want_exit=$3 want_line=$4
out=$("$sim" "$file" 2>&1)
code=$?
if [ "$code" -ne "$want_exit" ]; then
  echo "exit code $code, expected $want_exit"; echo "$out"; exit 1
fi
if ! grep -qxF -- "$want_line" <<<"$out"; then
  echo "missing line: $want_line"; echo "$out"; exit 1
fi
