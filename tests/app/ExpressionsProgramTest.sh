#!/bin/bash
# The expression library in the real program under real input: Ctrl+L shows
# it beside the face, a click on a thumbnail sets the pose, and Save writes
# exactly the expression's file; POV-Ray's renders replace the white 2-D
# thumbnails.
# Usage: ExpressionsProgramTest.sh TavokF.exe screenshot.png
set -u
exe=$1
shot=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
export DISPLAY="$TAVOK_DISPLAY"
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# No "." anywhere in the folder, or saved names would get no ".txt".
dir=$(mktemp -d /tmp/tavokXXXXXX)
cp "$exe" "$dir/TavokF.exe"
cp -r "$root/poses" "$dir/poses"
windows_dir="Z:${dir//\//\\}"
printf 'C:\\\r\n' >"$dir/TavokF.ini" # no first-start notice
cd "$dir"
program=
finish() {
  [ -n "$program" ] && kill "$program" 2>/dev/null && wait "$program" 2>/dev/null
  rm -rf "$dir"
}
trap finish EXIT

budget=50 # seconds; the ctest timeout is 60
source "$root/tests/app/XdoHelpers.sh"
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
wine "$dir/TavokF.exe" </dev/null >/dev/null 2>&1 &
program=$!
window=$(find_window 'TavokFace.*')
[ -n "$window" ] || { echo "no TavokFace window"; exit 1; }
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
box=$(menu_dialog s 'Save Pose') || exit 1
xdotool windowfocus --sync "$box" key End shift+Home type "$windows_dir\\clicked"
xdotool key Return
for _ in $(seq 50); do [ -s "$dir/clicked.txt" ] && break; sleep 0.1; done
cmp -s "$dir/clicked.txt" "$root/poses/surprised.txt" || fail "the saved pose is not surprised.txt"
# The first thumbnail's corner turns from the 2-D face's white to the
# scene's background.
pixel() {
  import -display "$DISPLAY" -window root "$shot"
  convert "$shot" -crop "1x1+$1+$2" -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' info:
}
for _ in $(seq 150); do [ "$(pixel $((EX + 12)) $((EY + 7)))" != 255,255,255 ] && break; sleep 0.2; done
[ "$(pixel $((EX + 12)) $((EY + 7)))" != 255,255,255 ] || fail "no POV-Ray thumbnail within 30 s"
xdotool windowfocus --sync "$window" key alt+f x
for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$program" 2>/dev/null; then fail "the program did not end"; else wait "$program"; fi
program=
[ "$(scratch)" = "$before" ] || fail "scratch folder left: $(scratch)"
result || exit 1
echo "expressions: Ctrl+L beside the face, a click and Save give the expression's bytes"
