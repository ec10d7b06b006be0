#!/usr/bin/env bash
# Puts the Linux program's pictures of its windows beside the Windows program's (left Linux, right
# Windows) in build/side-by-side/, after the test command has made both: the main window at 96 and
# 144 dpi, the usage window and the speech window. A missing picture fails the step.
set -euo pipefail
cd "$(dirname "$0")/.."
linux=build/dev/tests/qt/artifacts
windows=build/windows/artifacts
out=build/side-by-side
mkdir -p "$out"
pairs=(
  "main-96dpi.png main-window.png main-96dpi.png"
  "main-144dpi.png main-window-144dpi.png main-144dpi.png"
  "usage-96dpi.png usage-window.png usage-96dpi.png"
  "speech-96dpi.png speech-window.png speech-96dpi.png"
)
status=0
for pair in "${pairs[@]}"; do
  read -r left right name <<<"$pair"
  for picture in "$linux/$left" "$windows/$right"; do
    if [ ! -f "$picture" ]; then
      echo "side by side: $picture is missing" >&2
      status=1
    fi
  done
  [ -f "$linux/$left" ] && [ -f "$windows/$right" ] || continue
  convert "$linux/$left" "$windows/$right" -background white -gravity east -splice 16x0 -gravity north \
    +append "$out/$name"
done
[ "$status" -eq 0 ] && echo "side by side (Linux | Windows): $(ls "$out" | tr '\n' ' ')"
exit "$status"
