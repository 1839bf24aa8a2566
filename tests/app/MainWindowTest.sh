#!/bin/bash
# Runs the main-window tests and carries out the real pointer and key input
# they ask for on the test display: the lines they print that start with
# "xdotool ". Usage: MainWindowTest.sh main_window_tests.exe
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
export DISPLAY="$TAVOK_DISPLAY"
"$root/scripts/wine-run" "$1" | while IFS= read -r line; do
  line=${line%$'\r'}
  case "$line" in
  "xdotool "*) eval "timeout 10 $line" >/dev/null || echo "timed out or failed: $line" ;;
  *) printf '%s\n' "$line" ;;
  esac
done
exit "${PIPESTATUS[0]}"
