#!/bin/bash
# The strip's track rows in the real program, under real keys and pointer:
# K keys all three tracks at frame 0; a mouth point raised at frame 20 marks
# the mouth's row alone; its mark dragged to frame 40 moves along its own
# row; a click on the lids' mark at 0 selects it and Delete removes that key
# only. The saved file holds exactly what is left.
# Usage: TrackStripTest.sh TavokF.exe screenshot.png
set -u
exe=$1
shot=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
export DISPLAY="$TAVOK_DISPLAY"
budget=50 # seconds; the ctest timeout is 60
source "$root/tests/app/XdoHelpers.sh"
program_folder "$exe"
start_program
face_origin || exit 1
face_x=$X face_y=$Y
xdotool windowfocus --sync "$window" key ctrl+t

# The playhead (red, 3 pixels wide) after key $1: its middle column and the
# strip's top (the red starts 4 pixels below it).
playhead() {
  xdotool windowfocus --sync "$window" key "$1"
  sleep 0.3
  import -display "$DISPLAY" -window root "$shot"
  eval "$(timeout 5 xdotool getwindowgeometry --shell "$window")"
  read -r head_x top < <(convert "$shot" -crop "${WIDTH}x$HEIGHT+$X+$Y" txt:- |
    awk -F'[,:]' '/#DC0000/ { if (n++ == 0 || $1 < l) l = $1; if ($1 > r) r = $1
        if (n == 1 || $2 < t) t = $2 }
      END { if (n) print int((l + r) / 2), t }')
  [ -n "$head_x" ] && head_x=$((X + head_x)) && top=$((Y + top - 4))
}
found_playhead() { playhead "$1" && [ -n "$head_x" ]; }
wait_until 10 "playhead at frame 0" found_playhead Home || exit 1
x0=$head_x
wait_until 10 "playhead at frame 99" found_playhead End || exit 1
x99=$head_x
frame_x() { echo $((x0 + $1 * (x99 - x0) / 99)); }
row_y() { echo $((top + 38 + $1 * 14 + 7)); }
# Whether the key mark of track $1 (0 eyes, 1 lids, 2 mouth) at frame $2
# shows in colour $3, judged beside the playhead's line.
mark() {
  import -display "$DISPLAY" -window root "$shot"
  [ "$(convert "$shot" -crop "1x1+$(($(frame_x "$2") + 3))+$(row_y "$1")" \
    -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' info:)" = "$3" ]
}
blue=20,60,200
orange=240,140,0

xdotool windowfocus --sync "$window" key Home k
xdotool windowfocus --sync "$window" key --delay 20 --repeat 20 Right
xdotool mousemove --sync $((face_x + 175)) $((face_y + 235)) click 1
xdotool windowfocus --sync "$window" key 8
wait_until 5 "the mouth's mark at frame 20" mark 2 20 $blue
mark 0 20 $blue && fail "an eyes mark at frame 20"
mark 1 20 $blue && fail "a lids mark at frame 20"

xdotool mousemove --sync "$(frame_x 20)" "$(row_y 2)" mousedown 1 \
  mousemove --sync "$(frame_x 30)" "$(row_y 2)" mousemove --sync "$(frame_x 40)" "$(row_y 2)" \
  mouseup 1
wait_until 5 "the mouth's mark at frame 40" mark 2 40 $orange
xdotool mousemove --sync "$(frame_x 0)" "$(row_y 1)" click 1
wait_until 5 "the lids' mark at frame 0 selected" mark 1 0 $orange
xdotool windowfocus --sync "$window" key Delete
import -display "$DISPLAY" -window root "$shot"

box=$(menu_dialog t 'Save Animation') || exit 1
xdotool windowfocus --sync "$box" key End shift+Home type tracks.tfa
xdotool key Return
expect_file "$dir/tracks.tfa" $'TavokFace animation\r\nframes per second: 25\r\nlength in frames: 100\r\ninterpolation: smooth\r\neyes 0: <0,0,0>,0.5\r\nmouth 0: 0, 0, 0, 0, 0\r\nmouth 40: 0, 0, 0.05, 0, 0\r\n'

exit_program
result || exit 1
echo "strip: keys marked on their own rows, a mouth key dragged, a lids key deleted ($shot)"
