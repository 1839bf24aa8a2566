#!/bin/bash
# The timeline in the real program, driven by real keys on the test display:
# Ctrl+T shows it and the window grows by its height, K sets a key at frame
# 0 on every track, Right moves 25 frames on where "8" three times keys a
# raised gaze on the eyes' track,
# Space plays and stops (the playhead moves on), and "Save animation as..."
# writes the file, whose bytes are compared. Then a drag of the mouth and an
# expression, each keyed, and Ctrl+Z until nothing is left: the saved pose
# is the first one and the saved animation has no key.
# Usage: AnimationInputTest.sh TavokF.exe screenshot.png
budget=50 # seconds; the ctest timeout is 60
source "$(dirname "$0")/XdoHelpers.sh"
program_folder "$exe"
start_program
sleep 1
height() { xdotool getwindowgeometry --shell "$window" | sed -n 's/^HEIGHT=//p'; }
before=$(height)
xdotool windowfocus --sync "$window" key ctrl+t
strip=132 # the strip's height
for _ in $(seq 50); do [ "$(height)" = $((before + strip)) ] && break; sleep 0.1; done
[ "$(height)" = $((before + strip)) ] || fail "window height $(height), expected $((before + strip))"

xdotool windowfocus --sync "$window" key k
xdotool windowfocus --sync "$window" key --delay 20 --repeat 25 Right
xdotool windowfocus --sync "$window" key 8 8 8
sleep 0.5
shoot() { import -display "$DISPLAY" -window "$window" "$1"; }
shoot "$dir/keyed.png"
xdotool windowfocus --sync "$window" key space
sleep 1
xdotool windowfocus --sync "$window" key space
sleep 0.5
shoot "$shot"
[ "$(compare -metric AE "$dir/keyed.png" "$shot" null: 2>&1)" != 0 ] ||
  fail "the playhead did not move while playing"

choose_file t 'Save Animation' blink.tfa
want=$'TavokFace animation\r\nframes per second: 25\r\nlength in frames: 100\r\ninterpolation: smooth\r\neyes 0: <0,0,0>,0.5\r\neyes 25: <0,3,0>,0.5\r\nlids 0: 30,-30, 30,-30\r\nmouth 0: 0, 0, 0, 0, 0\r\n'
for _ in $(seq 50); do [ -f blink.tfa ] && break; sleep 0.1; done
[ "$(od -An -c blink.tfa 2>&1)" = "$(printf '%s' "$want" | od -An -c)" ] || {
  fail "blink.tfa holds:"
  od -c blink.tfa 2>&1 | head -20
}

face_origin || exit 1
xdotool mousemove --sync $((X + 175)) $((Y + 235)) mousedown 1 \
  mousemove --sync $((X + 175)) $((Y + 220)) mouseup 1
xdotool windowfocus --sync "$window" key ctrl+l
library=$(find_window Expressions)
[ -n "$library" ] || fail "no Expressions window"
eval "$(timeout 5 xdotool getwindowgeometry --shell "$library")"
xdotool mousemove --sync $((X + 50)) $((Y + 40)) click 1
# Six steps: the key at 0, three at 25, the drag, the expression.
xdotool windowfocus --sync "$window" key --delay 50 --repeat 6 ctrl+z
choose_file s 'Save Pose' first
expect_file "$dir/first.txt" $'<0,0,0>,0.5,\r\n30,-30,\r\n30,-30,\r\n0,\r\n0,\r\n0,\r\n0,\r\n0\r\n'
choose_file t 'Save Animation' none.tfa
expect_file "$dir/none.tfa" "${want%%eyes 0*}"

exit_program
passed "timeline: Ctrl+T, keys at frames 0 and 25, play, save, a drag and an expression undone as expected ($shot)"
