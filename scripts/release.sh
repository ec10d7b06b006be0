#!/usr/bin/env bash
# Builds the release program (mingw-w64, static runtime) and writes
# dist/harumado-VERSION-win64.zip: harumado.exe and a short Japanese readme (README-ja.txt).
# VERSION is the project version in CMakeLists.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset windows >/dev/null
cmake --build --preset windows --target harumado

version=$(sed -n 's/^project(Harumado VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "no project version in CMakeLists.txt" >&2; exit 1; }
name="harumado-$version-win64"
stage="build/windows/release-stage/$name"
rm -rf "build/windows/release-stage"
mkdir -p "$stage" dist

cp build/windows/src/win32/harumado.exe "$stage/harumado.exe"
# The readme for Windows' Notepad: UTF-8 with a byte-order mark and CR LF line ends.
{
  printf '\xEF\xBB\xBF'
  sed -e "s/VERSION/$version/" -e 's/$/\r/' scripts/release/readme-ja.txt
} >"$stage/README-ja.txt"

rm -f "dist/$name.zip"
(cd "build/windows/release-stage" && zip -q -X -r "../../../dist/$name.zip" "$name")
unzip -l "dist/$name.zip"
