#!/bin/bash
# Rendering the animation from the real program under real keys, with the
# real POV-Ray: File > Render animation..., frames 0 to 5 at 64 x 48 with the
# GIF, gives exactly those frames and a GIF of 6 images 4/100 s each; Cancel
# in the progress window, then Exit during a render, leave complete frames
# only, no work folder and no POV-Ray.
# Usage: RenderAnimationTest.sh TavokF.exe screenshot.png
set -u
exe=$1
shot=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
export DISPLAY="$TAVOK_DISPLAY"
budget=100 # seconds; the ctest timeout is 120
source "$root/tests/app/XdoHelpers.sh"
# The frames' stem is the default "animation": the folder has no ".".
program_folder "$exe" settled
working() { for p in /proc/[0-9]*; do readlink "$p/cwd" 2>/dev/null; done | grep -c "^$dir/\."; }
frames() { ls "$dir" | grep '^animation.*png$' | xargs; }
# Every frame left reads back whole; no work folder, no POV-Ray in it.
only_complete_frames() {
  for _ in $(seq 30); do [ "$(working)" = 0 ] && break; sleep 0.1; done
  [ "$(working)" = 0 ] || fail "$1: a process still works in the work folder"
  [ -z "$(ls -A "$dir" | grep '^\.')" ] || fail "$1: left $(ls -A "$dir" | grep '^\.')"
  for frame in "$dir"/animation*.png; do
    [ -e "$frame" ] || continue
    [ "$(identify -format '%w %h' "$frame" 2>/dev/null)" = "$2" ] || fail "$1: broken $frame"
  done
}
# File > Open animation... with the name typed once the dialog is ready.
open_animation() {
  box=$(menu_dialog n 'Open Animation')
  sleep 0.5
  xdotool windowfocus --sync "$box" key End shift+Home type "Z:${dir//\//\\}\\$1"
  xdotool windowfocus --sync "$box" key Return
  for _ in $(seq 50); do [ -z "$(find_window 'Open Animation' 0)" ] && break; sleep 0.1; done
  sleep 0.5
}
# Opens the dialog, starts the render as it stands, finds the progress window.
render() {
  box=$(menu_dialog r 'Render animation')
  xdotool windowfocus --sync "$box" key alt+s
  progress=$(find_window 'Rendering animation' 10)
  [ -n "$progress" ] || fail "no progress window"
}

# A 6-frame blink, opened as a user does: every frame at the default size.
printf 'TavokFace animation\r\nframes per second: 25\r\nlength in frames: 6\r\ninterpolation: smooth\r
key 0: <0,0,0>,0.5, 30,-30, 30,-30, 0, 0, 0, 0, 0\r\nkey 5: <0,0,0>,0.5, 30,90, 30,90, 0, 0, 0, 0, 0\r\n' \
  >"$dir/blink.tfa"
start_program
open_animation blink.tfa
render
for _ in $(seq 600); do [ -e "$dir/animation.gif" ] && break; sleep 0.1; done
[ "$(frames)" = "animation0.png animation1.png animation2.png animation3.png animation4.png animation5.png" ] ||
  fail "frames: $(frames)"
[ "$(identify -format '%T %w;' "$dir/animation.gif" 2>/dev/null)" = "4 320;4 320;4 320;4 320;4 320;4 320;" ] ||
  fail "GIF: $(identify -format '%T %w;' "$dir/animation.gif" 2>&1)"
only_complete_frames "after the render" "320 240"

# A long one, cancelled once frames come; then again, and Exit meanwhile.
sed 's/length in frames: 6/length in frames: 100/' "$dir/blink.tfa" >"$dir/long.tfa"
rm -f "$dir"/animation*
open_animation long.tfa
render
for _ in $(seq 300); do [ -n "$(frames)" ] && break; sleep 0.1; done
[ -n "$(frames)" ] || fail "no frame within 30 s"
import -display "$DISPLAY" -window root "$shot"
# Cancel is the button at the window's bottom left.
eval "$(xdotool getwindowgeometry --shell "$progress")"
xdotool mousemove $((X + 28)) $((Y + HEIGHT - 14)) click 1
# A search that finds nothing is no failure here: past the wrapper.
progress_gone() { [ -z "$(command xdotool search --onlyvisible --name '^Rendering animation$' 2>/dev/null)" ]; }
# Cancel ends every POV-Ray (16 on two cores): slower beside a build.
wait_until 15 "end of the progress window after Cancel" progress_gone
only_complete_frames "after Cancel" "320 240"

render
exit_program
only_complete_frames "after Exit" "320 240"
result
