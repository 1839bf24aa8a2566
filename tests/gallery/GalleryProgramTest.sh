#!/bin/bash
# Starts the gallery program on the test display, takes a screenshot, closes
# the dialog with a real Esc key and expects the program to end with 0.
# Usage: GalleryProgramTest.sh Gallery.exe screenshot.png
set -u
exe=$1
shot=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
export DISPLAY="$TAVOK_DISPLAY"
# Every input has its deadline: a window that never takes the focus fails,
# it does not hang.
xdotool() { timeout 10 xdotool "$@" || echo "xdotool $* failed or waited 10 s" >&2; }

"$root/scripts/wine-run" "$exe" &
program=$!
finish() {
  kill "$program" 2>/dev/null
  wait "$program" 2>/dev/null
}
trap finish EXIT

window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Every control$' | head -1)
[ -n "$window" ] || { echo "no gallery dialog"; exit 1; }
sleep 1
import -display "$DISPLAY" -window root "$shot"
xdotool windowfocus --sync "$window" key Escape
for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$program" 2>/dev/null; then
  echo "the gallery did not end"
  exit 1
fi
wait "$program"
code=$?
[ "$code" = 0 ] || { echo "exit code $code"; exit 1; }
echo "gallery: shown ($shot), ended by Esc with exit code 0"
