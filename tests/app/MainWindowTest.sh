#!/bin/bash
# Runs the main-window tests and carries out the real pointer and key input
# they ask for on the test display: the lines they print that start with
# "xdotool ". An input that fails or times out fails the run. Reading stops
# when the program has ended, even if a child of it keeps the output open.
# Usage: MainWindowTest.sh main_window_tests.exe
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
export DISPLAY="$TAVOK_DISPLAY"
fifo=$(mktemp -u)
mkfifo "$fifo"
trap 'rm -f "$fifo"; kill "$program" 2>/dev/null' EXIT
"$root/scripts/wine-run" "$1" >"$fifo" &
program=$!
failed=0
handle() {
  line=${line%$'\r'}
  case "$line" in
  "xdotool "*) eval "timeout 10 $line" >/dev/null || {
    echo "xdotool failed or waited 10 s: $line"
    failed=1
  } ;;
  *) printf '%s\n' "$line" ;;
  esac
}
exec 3<"$fifo"
while kill -0 "$program" 2>/dev/null; do
  if IFS= read -r -t 1 line <&3; then handle; else sleep 0.05; fi
done
# What the program wrote before it ended.
while IFS= read -r -t 1 line <&3; do handle; done
wait "$program"
code=$?
[ $failed = 0 ] || exit 1
exit $code
