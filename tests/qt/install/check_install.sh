#!/usr/bin/env bash
# The Linux program as `cmake --install` puts it under a prefix: check_install.sh BUILD-FOLDER
# The program in bin/, a menu entry that desktop-file-validate accepts and that starts that
# program by its name, and the menu's icon at the size its folder says. Exit status 0 when all
# of that holds.
set -euo pipefail
build=${1:?usage: check_install.sh BUILD-FOLDER}
prefix=$(mktemp -d "${TMPDIR:-/tmp}/harumado-install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1 || {
  cat "$prefix.log" >&2
  rm -f "$prefix.log"
  exit 1
}
rm -f "$prefix.log"
program="$prefix/bin/harumado"
entry="$prefix/share/applications/harumado.desktop"
icon="$prefix/share/icons/hicolor/256x256/apps/harumado.png"
[[ -x $program ]] || fail "no program at $program"
if [[ -f $entry ]]; then
  desktop-file-validate "$entry" || fail "the menu entry does not validate"
  exec_line=$(sed -n 's/^Exec=//p' "$entry")
  [[ $exec_line == harumado ]] || fail "the menu entry starts '$exec_line', not the installed program's name"
  [[ $(sed -n 's/^Icon=//p' "$entry") == harumado ]] || fail "the menu entry names another icon"
else
  fail "no menu entry at $entry"
fi
if [[ -f $icon ]]; then
  size=$(identify -format '%wx%h' "$icon")
  [[ $size == 256x256 ]] || fail "the icon is $size, in the folder of 256x256"
else
  fail "no icon at $icon"
fi
if ((failures > 0)); then
  echo "install: $failures expectation(s) failed" >&2
  exit 1
fi
echo "install: passed"
