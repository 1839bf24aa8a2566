#!/bin/bash
# The timeline in the real program, driven by real keys on the test display:
# Ctrl+T shows it and the window grows by its height, K sets a key at frame
# 0, Right moves 25 frames on where "8" three times keys a raised gaze,
# Space plays and stops (the playhead moves on), and "Save animation as..."
# writes the file, whose bytes are compared.
# Usage: AnimationInputTest.sh TavokF.exe screenshot.png
set -u
exe=$1
shot=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
export DISPLAY="$TAVOK_DISPLAY"
budget=50 # seconds; the ctest timeout is 60
source "$root/tests/app/XdoHelpers.sh"
program_folder "$exe"
start_program
sleep 1
height() { xdotool getwindowgeometry --shell "$window" | sed -n 's/^HEIGHT=//p'; }
before=$(height)
xdotool windowfocus --sync "$window" key ctrl+t
for _ in $(seq 50); do [ "$(height)" = $((before + 70)) ] && break; sleep 0.1; done
[ "$(height)" = $((before + 70)) ] || fail "window height $(height), expected $((before + 70))"

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

box=$(menu_dialog t 'Save Animation') || exit 1
xdotool windowfocus --sync "$box" key End shift+Home type blink.tfa
xdotool key Return
want=$'TavokFace animation\r\nframes per second: 25\r\nlength in frames: 100\r\ninterpolation: smooth\r\nkey 0: <0,0,0>,0.5, 30,-30, 30,-30, 0, 0, 0, 0, 0\r\nkey 25: <0,3,0>,0.5, 30,-30, 30,-30, 0, 0, 0, 0, 0\r\n'
for _ in $(seq 50); do [ -f blink.tfa ] && break; sleep 0.1; done
[ "$(od -An -c blink.tfa 2>&1)" = "$(printf '%s' "$want" | od -An -c)" ] || {
  fail "blink.tfa holds:"
  od -c blink.tfa 2>&1 | head -20
}

exit_program
result || exit 1
echo "timeline: Ctrl+T, keys at frames 0 and 25, play, save as expected ($shot)"
