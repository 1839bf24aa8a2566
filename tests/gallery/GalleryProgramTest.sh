#!/bin/bash
# Starts the gallery program on the test display, takes a screenshot, closes
# the dialog with a real Esc key and expects the program to end with 0.
# Usage: GalleryProgramTest.sh Gallery.exe screenshot.png
budget=25 # seconds; the ctest timeout is 30
source "$(dirname "$0")/../app/XdoHelpers.sh"

"$root/scripts/wine-run" "$exe" &
program=$!
finish() {
  kill "$program" 2>/dev/null
  wait "$program" 2>/dev/null
  rm -f "$failures"
  stop_watchdog
}
trap finish EXIT

window=$(find_window 'Every control' 15)
[ -n "$window" ] || { echo "no gallery dialog within 15 s"; exit 1; }
sleep 1
import -display "$DISPLAY" -window root "$shot"
xdotool windowfocus --sync "$window" key Escape
wait_until 10 "end of the gallery after Esc" eval '! kill -0 "$program" 2>/dev/null'
result || exit 1
wait "$program"
code=$?
[ "$code" = 0 ] || { echo "exit code $code"; exit 1; }
echo "gallery: shown ($shot), ended by Esc with exit code 0"
