#!/usr/bin/env bash
# Checks that every folder of src/ includes only its own layer and the layers below it, so that
# no dependency runs upwards. The programs (the files that put a back end and the core together)
# are the top and may include anything.
set -euo pipefail
src=${1:?usage: check_layers.sh SRC_DIR}
cd "$src"

# folder (or file) -> the top-level folders of src/ its includes may name
declare -A allowed=(
  [runtime]="runtime"
  [platform]="runtime platform"
  [core]="runtime platform core"
  [automation]="runtime platform automation"
  [sim]="runtime platform automation sim"
  [win32]="runtime platform automation win32"
  [qt]="runtime platform automation qt"
  [calc]="runtime platform automation calc"
)
# The programs: scenario runner and each platform's entry point.
programs=(sim/scenario sim/main.cpp win32/main_win32.cpp qt/main_qt.cpp)

is_program() {
  local f=$1 p
  for p in "${programs[@]}"; do
    [[ $f == "$p" || $f == "$p"/* ]] && return 0
  done
  return 1
}

failures=0
checked=0
while IFS= read -r -d '' file; do
  rel=${file#./}
  layer=${rel%%/*}
  is_program "$rel" && continue
  if [[ -z ${allowed[$layer]+set} ]]; then
    echo "unknown layer for $rel (add it to check_layers.sh)"
    failures=$((failures + 1))
    continue
  fi
  checked=$((checked + 1))
  while IFS= read -r included; do
    top=${included%%/*}
    [[ $included == */* ]] || continue  # a header beside the file, or a system header
    [[ -d $top ]] || continue            # not one of src/'s folders (a library's own path)
    if [[ " ${allowed[$layer]} " != *" $top "* ]]; then
      echo "$rel includes \"$included\": $layer may include only: ${allowed[$layer]}"
      failures=$((failures + 1))
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find . -type f \( -name '*.h' -o -name '*.cpp' \) -print0)

if [[ $checked -eq 0 ]]; then
  echo "no source files found under $src"
  exit 1
fi
if [[ $failures -gt 0 ]]; then
  echo "$failures include(s) point upwards"
  exit 1
fi
echo "layers in order: $checked files checked"
