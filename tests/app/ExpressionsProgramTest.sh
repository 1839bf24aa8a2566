#!/bin/bash
# The expression library in the real program under real input: Ctrl+L shows
# it beside the face, a click on a thumbnail sets the pose, and Save writes
# exactly the expression's file; POV-Ray's renders replace the white 2-D
# thumbnails.
# Usage: ExpressionsProgramTest.sh TavokF.exe screenshot.png
budget=50 # seconds; the ctest timeout is 60
source "$(dirname "$0")/XdoHelpers.sh"
program_folder "$exe" settled
cp -r "$root/poses" "$dir/poses"
windows_dir="Z:${dir//\//\\}"
# The editor's frame is the active window, within 2 s: the window manager
# may pass through no active window while it handles a click.
editor_active() {
  for _ in $(seq 20); do
    [ "$(timeout 5 xdotool getactivewindow 2>/dev/null)" = "$window" ] && return 0
    sleep 0.1
  done
  return 1
}
scratch() { ls -d "$WINEPREFIX"/drive_c/users/*/Temp/TavokF-* 2>/dev/null; }
before=$(scratch)
start_program
xdotool windowfocus --sync "$window" key ctrl+l
library=$(find_window 'Expressions' 10)
[ -n "$library" ] || { echo "Ctrl+L showed no expressions"; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$window")"
eval "$(xdotool getwindowgeometry --shell "$library" | sed 's/^/E/')"
[ $((EX)) -ge $((X + WIDTH)) ] || [ $((EX + EWIDTH)) -le $((X)) ] || fail "the expressions cover the face"
# "surprised", the tenth: first column, fourth row of cells 112 by 96. The
# keyboard stays with the editor.
xdotool mousemove $((EX + 56)) $((EY + 3 * 96 + 40)) click 1
editor_active || fail "a click on a thumbnail took the keyboard"
# A click on the mix slider's track (the next click's fraction, the pose
# stays) leaves the keyboard there too.
xdotool mousemove $((EX + 70)) $((EY + 4 * 96 + 13)) click 1
editor_active || fail "a click on the mix slider took the keyboard"
import -display "$DISPLAY" -window root "$shot"
choose_file s 'Save Pose' "$windows_dir\\clicked"
for _ in $(seq 50); do [ -s "$dir/clicked.txt" ] && break; sleep 0.1; done
cmp -s "$dir/clicked.txt" "$root/poses/surprised.txt" || fail "the saved pose is not surprised.txt"
# The first thumbnail's corner turns from the 2-D face's white to the
# scene's background.
rendered() { [ "$(screen_pixel $((EX + 12)) $((EY + 7)))" != 255,255,255 ]; }
wait_until 30 "POV-Ray thumbnail" rendered
exit_program
[ "$(scratch)" = "$before" ] || fail "scratch folder left: $(scratch)"
passed "expressions: Ctrl+L beside the face, a click and Save give the expression's bytes"
