#!/bin/bash
# The real program driven as a user drives it, with real pointer and key
# input on the test display: a first start in a folder of its own, a click on
# the middle mouth point (its dot turns yellow), keys that raise it, a name
# typed into the real save dialog, drags undone with Ctrl+Z and made
# symmetric with Ctrl+E, and Exit with 0. (Saving, opening, the settings file and
# the exit code are proven in process by the whole-program tests.)
# Usage: RealInputTest.sh TavokF.exe screenshot.png
budget=50 # seconds; the ctest timeout is 60
source "$(dirname "$0")/XdoHelpers.sh"
program_folder "$exe"
start_program # a first start: one notice
face_origin || exit 1
# The pointer may rest there from an earlier run: it has to arrive.
xdotool mousemove --sync 1 1
xdotool mousemove --sync $((X + 175)) $((Y + 235)) click 1

pixel() { convert "$shot" -crop "1x1+$((X + $1))+$((Y + $2))" -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' info:; }
selected() {
  import -display "$DISPLAY" -window root "$shot"
  [ "$(pixel 175 235)" = 200,200,64 ]
}
# The redraw may take a moment on a busy machine.
wait_until 10 "selected mouth point" selected
expect() {
  local got
  got=$(pixel "$1" "$2")
  [ "$got" = "$3" ] || fail "pixel ($1, $2): $got, expected $3"
}
expect 175 235 200,200,64 # the selected dot, dull yellow
expect 125 235 0,0,0      # its neighbour stays black
expect 150 235 255,64,64  # the mouth line
expect 128 138 0,0,0      # a pupil
expect 120 138 64,64,255  # an iris, not selected

# Three presses of "8" lift the point by 0.15; save it through the menu.
xdotool windowfocus --sync "$window" key 8 8 8
choose_file s 'Save Pose' smile
smile=$'<0,0,0>,0.5,\r\n30,-30,\r\n30,-30,\r\n0,\r\n0,\r\n0.15,\r\n0,\r\n0\r\n'
expect_file "$dir/smile.txt" "$smile"

# Dragging the middle point 22 pixels above the base line makes it 0.4;
# one Ctrl+Z brings the smile back. Saving leaves the history alone.
point() { echo $((X + $1)) $((Y + $2)); }
xdotool mousemove --sync $(point 175 226) mousedown 1 mousemove --sync $(point 175 220) \
  mousemove --sync $(point 175 213) mouseup 1
choose_file s 'Save Pose' drag
expect_file "$dir/drag.txt" "${smile/0.15/0.4}"
xdotool windowfocus --sync "$window" key ctrl+z
choose_file s 'Save Pose' undone
expect_file "$dir/undone.txt" "$smile"

# With symmetric editing both corners follow the left one, up to the limit
# when released above the window; afterwards the pointer moves nothing.
xdotool windowfocus --sync "$window" key ctrl+e
xdotool mousemove --sync $(point 75 235) mousedown 1 mousemove --sync $(point 75 213) \
  mousemove --sync $((X + 75)) 0 mouseup 1 mousemove --sync $(point 75 235)
choose_file s 'Save Pose' corners
expect_file "$dir/corners.txt" $'<0,0,0>,0.5,\r\n30,-30,\r\n30,-30,\r\n1,\r\n0,\r\n0.15,\r\n0,\r\n1\r\n'

exit_program
passed "real input: first start, click, keys, save, drags, undo and Exit as expected ($shot)"
