#!/usr/bin/env bash
# Cross-builds the Windows program and runs its tests under wine: a harness drives the real
# windows on a virtual screen, in a wine prefix and HOME of their own. Leaves pictures of the
# windows in build/windows/artifacts/ and prints the program's size and start-up time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-test-deps.sh
cmake --preset windows
cmake --build --preset windows
# A second compiler: the same program built with clang for the mingw target, warnings as errors.
cmake --preset windows-clang
cmake --build --preset windows-clang
# The release zip (dist/), from the program just built.
scripts/release.sh

session="$PWD/build/windows/wine-session"
artifacts="$PWD/build/windows/artifacts"
harness=build/windows/tests/win32/harumado-harness.exe
program=build/windows/src/win32/harumado.exe
# shellcheck source=scripts/wine-session.sh
source scripts/wine-session.sh
trap wine_session_stop EXIT
wine_session_start "$session"

# One run first, so that wine's server and its own processes are up before the tests.
wine_run 120 "$session/logs/warm-up.log" "$harness" copy-text warm-up || true

rm -rf "$artifacts"
ctest --preset windows

convert_bin=/usr/bin/convert
[ -x "$convert_bin" ] || convert_bin=convert
for picture in "$artifacts"/*.bmp; do
  [ -e "$picture" ] && "$convert_bin" "$picture" "${picture%.bmp}.png" && rm -f "$picture"
done
echo "screenshots: $(ls "$artifacts" 2>/dev/null | tr '\n' ' ')"

# Benchmark figures (not a test): program size and start-up time to the first shown window.
if wine_run 300 "$session/logs/benchmark.log" "$harness" startup-benchmark "$program" 7; then
  tr -d '\r' <"$session/logs/benchmark.log"
else
  echo "startup benchmark did not run (see $session/logs/benchmark.log)"
fi

# Benchmark figures against the Excel test double (not a test): a paste from clipboard change to
# cursor move, the cost of one host operation, the column fit on 10,000 rows with the program's
# bulk reads beside reading cell by cell (HARUMADO_BENCH_CELL_ROWS rows of it, 2,000 by default:
# every call crosses to another process, about 2 ms each under wine).
doubles=build/windows/tests/win32/doubles
if ! bash tests/win32/run-with-doubles.sh bench "$harness" "$program" \
    "$doubles/harumado-excel-double.exe" "$doubles/harumado-voice-double.dll" 10000 \
    "${HARUMADO_BENCH_CELL_ROWS:-2000}"; then
  echo "the Excel benchmark did not run to its end"
fi
