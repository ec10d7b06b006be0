#!/usr/bin/env bash
# The fallback-folder scenario: the program stands in a folder that takes no new file (made
# immutable for the test), so its settings go to the user's application-data folder.
#   fallback-folder.sh HARNESS.exe PROGRAM.exe FOLDER
set -uo pipefail
harness=$1 program=$2 folder=$3
[ -d "$folder" ] && chattr -i "$folder" 2>/dev/null
rm -rf "$folder"
mkdir -p "$folder"
cp "$program" "$folder/harumado.exe"
if ! chattr +i "$folder"; then
  echo "cannot make $folder read-only (chattr +i needs root on ext4)"
  exit 1
fi
bash "$(dirname "$0")/run-under-wine.sh" "$harness" "$program" fallback-folder "$folder"
rc=$?
chattr -i "$folder"
exit $rc
