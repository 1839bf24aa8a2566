#!/bin/bash
# The strip's track rows in the real program, under real keys and pointer:
# K keys every track at frame 0, a mouth point raised at frame 20 keys the
# mouth, whose mark is dragged along its row to frame 40; a click on the
# lids' mark at 0 selects it and Delete removes that key alone. The saved
# file holds exactly what is left.
# Usage: TrackStripTest.sh TavokF.exe screenshot.png
budget=50 # seconds; the ctest timeout is 60
source "$(dirname "$0")/XdoHelpers.sh"
program_folder "$exe"
start_program
face_origin || exit 1
xdotool windowfocus --sync "$window" key ctrl+t

# After key $1, the playhead's (red, 3 pixels wide) middle column on the
# screen as head_x, and the strip's top, 4 pixels above its red.
playhead() {
  xdotool windowfocus --sync "$window" key "$1"
  import -display "$DISPLAY" -window root "$shot"
  read -r head_x top < <(convert "$shot" txt:- | awk -F'[,:]' '/#DC0000/ {
    if (!n++) { l = $1; t = $2 } r = $1 } END { if (n) print int((l + r) / 2), t - 4 }')
  [ -n "$head_x" ]
}
wait_until 10 "playhead at frame 99" playhead End || exit 1
x99=$head_x
wait_until 10 "playhead at frame 0" playhead Home || exit 1
x0=$head_x
frame_x() { echo $((x0 + $1 * (x99 - x0) / 99)); }
row_y() { echo $((top + 38 + $1 * 14 + 7)); } # 0 eyes, 1 lids, 2 mouth

xdotool windowfocus --sync "$window" key k
xdotool windowfocus --sync "$window" key --delay 20 --repeat 20 Right
xdotool mousemove --sync $((X + 175)) $((Y + 235)) click 1
xdotool windowfocus --sync "$window" key 8
xdotool mousemove --sync "$(frame_x 20)" "$(row_y 2)" mousedown 1 \
  mousemove --sync "$(frame_x 30)" "$(row_y 2)" mousemove --sync "$(frame_x 40)" "$(row_y 2)" \
  mouseup 1
xdotool mousemove --sync "$(frame_x 0)" "$(row_y 1)" click 1
xdotool windowfocus --sync "$window" key Delete
import -display "$DISPLAY" -window root "$shot"
choose_file t 'Save Animation' tracks.tfa
expect_file "$dir/tracks.tfa" $'TavokFace animation\r\nframes per second: 25\r\nlength in frames: 100\r\ninterpolation: smooth\r\neyes 0: <0,0,0>,0.5\r\nmouth 0: 0, 0, 0, 0, 0\r\nmouth 40: 0, 0, 0.05, 0, 0\r\n'

exit_program
passed "strip: a mouth key dragged along its row, a lids key selected and deleted ($shot)"
