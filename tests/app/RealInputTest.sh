#!/bin/bash
# Starts the real program on the test display, clicks the middle mouth point
# with real pointer input, and finds its dot turned yellow in a screenshot.
# Usage: RealInputTest.sh TavokF.exe screenshot.png
set -u
exe=$1
shot=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
export DISPLAY="$TAVOK_DISPLAY"

"$root/scripts/wine-run" "$exe" &
program=$!
finish() {
  kill "$program" 2>/dev/null
  wait "$program" 2>/dev/null
}
trap finish EXIT

window=$(timeout 60 xdotool search --sync --onlyvisible --name '^TavokFace' | head -1)
[ -n "$window" ] || { echo "no TavokFace window"; exit 1; }
sleep 1
# The face view lies between the bars, below the menu. Its middle mouth
# point of a 350-wide view is at x 175, on the mouth line, which crosses
# x 150 in red; the other parts keep their place relative to it.
eval "$(xdotool getwindowgeometry --shell "$window")"
import -display "$DISPLAY" -window root "$shot"
mouth=$(convert "$shot" -crop "1x$HEIGHT+$((X + 150))+$Y" txt:- |
  awk -F'[,:]' '/#FF4040/ { print $2; exit }')
[ -n "$mouth" ] || { echo "no mouth line in the face view"; exit 1; }
# From here on, y is given in the coordinates of a face whose mouth is at 235.
Y=$((Y + mouth - 235))
xdotool mousemove --sync $((X + 175)) $((Y + 235)) click 1

pixel() { convert "$shot" -crop "1x1+$((X + $1))+$((Y + $2))" -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' info:; }
# The redraw may take a moment on a busy machine.
for _ in $(seq 20); do
  sleep 0.5
  import -display "$DISPLAY" -window root "$shot"
  [ "$(pixel 175 235)" = 200,200,64 ] && break
done
status=0
expect() {
  local got
  got=$(pixel "$1" "$2")
  if [ "$got" != "$3" ]; then
    echo "pixel ($1, $2): $got, expected $3"
    status=1
  fi
}
expect 175 235 200,200,64 # the selected dot, dull yellow
expect 125 235 0,0,0      # its neighbour stays black
expect 150 235 255,64,64  # the mouth line
expect 128 138 0,0,0      # a pupil
expect 120 138 64,64,255  # an iris, not selected
# The program still ends cleanly when its window is closed.
xdotool windowfocus --sync "$window" key alt+F4
for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$program" 2>/dev/null; then
  echo "the program did not end"
  status=1
else
  wait "$program"
  code=$?
  [ "$code" = 0 ] || { echo "exit code $code"; status=1; }
fi
[ $status = 0 ] && echo "real input: the clicked mouth point is yellow ($shot)"
exit $status
