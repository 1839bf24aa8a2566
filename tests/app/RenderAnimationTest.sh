#!/bin/bash
# Rendering the animation from the real program under real keys, with the
# real POV-Ray: after Animate > Sound... and Lip-sync from sound, and Play,
# File > Render animation..., frames 0 to 5 with the GIF and the video, gives
# exactly those frames, a GIF of 6 images 4/100 s each and an MP4 whose
# picture and sound (AAC) last the 0.24 s; a sound that does not read is
# refused before any frame; Esc
# and Enter on Cancel in the progress window, then Exit during a render,
# leave complete frames only, no work folder and no POV-Ray.
# Usage: RenderAnimationTest.sh TavokF.exe screenshot.png
budget=200 # seconds; the ctest timeout is 230
source "$(dirname "$0")/XdoHelpers.sh"
# The frames' stem is the default "animation": the folder has no ".". The
# output folder, the program's current folder that the dialog offers, is
# longer than 130 characters and holds letters beyond ASCII and beyond the
# ANSI code page. (Typed by xdotool, such letters are now and then lost.)
program_folder "$exe" settled
cp -r "$root/poses" "$dir" # the mouth shapes for Lip-sync
out="$dir/José 日本 $(printf 'x%.0s' $(seq 130))"
mkdir "$out"
working() { for p in /proc/[0-9]*; do readlink "$p/cwd" 2>/dev/null; done | grep -c "^$out/\."; }
frames() { ls "$out" 2>/dev/null | grep '^animation.*png$' | xargs; }
# Every frame left reads back whole; no work folder, no POV-Ray in it.
only_complete_frames() {
  idle() { [ "$(working)" = 0 ]; }
  wait_until 5 "$1: no process working in the work folder" idle
  [ -z "$(ls -A "$out" | grep '^\.')" ] || fail "$1: left $(ls -A "$out" | grep '^\.')"
  for frame in "$out"/animation*.png; do
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
  wait_until 5 "end of the Open Animation dialog" closed 'Open Animation'
  sleep 0.5
}
# Return on the window titled $1 within 10 s, else fails saying why ($2).
answer() { w=$(find_window "$1") && [ -n "$w" ] && xdotool windowfocus --sync "$w" key Return || fail "no $1: $2"; }
# Opens the dialog, starts the render with the keys given, finds the
# progress window.
render() {
  box=$(menu_dialog r 'Render animation')
  xdotool windowfocus --sync "$box" key "$@" alt+s
  progress=$(find_window 'Rendering animation' 20)
  [ -n "$progress" ] || fail "no progress window"
}

# A 6-frame blink with a longer voice, opened as a user does: the mouth keys
# past frame 5 are a notice, the blink's mouth keys go. Every frame at the
# default size.
timeout 20 espeak-ng -w "$dir/voice.wav" "one two three" || fail "espeak-ng made no voice in 20 s"
printf 'TavokFace animation\r\nframes per second: 25\r\nlength in frames: 6\r\ninterpolation: smooth\r
key 0: <0,0,0>,0.5, 30,-30, 30,-30, 0.1, 0.1, 0.1, 0.1, 0.1\r\nkey 5: <0,0,0>,0.5, 30,90, 30,90, 0.1, 0.1, 0.1, 0.1, 0.1\r\n' \
  >"$dir/blink.tfa"
cd "$out" && start_program && cd "$dir" || fail "no start in $out"
open_animation blink.tfa
choose_file 's Return' 'Open Sound' "Z:${dir//\//\\}\\voice.wav" a
wait_until 5 "end of the Open Sound dialog" closed 'Open Sound'
xdotool windowfocus --sync "$window" key alt+a l
answer Notice "of the mouth keys left out"
choose_file t 'Save Animation' "Z:${dir//\//\\}\\talk.tfa"
wait_until 10 "talk.tfa" test -s "$dir/talk.tfa"
grep -aq '^sound 0: voice.wav' "$dir/talk.tfa" && grep -a '^mouth ' "$dir/talk.tfa" | grep -vq '0.1, 0.1' ||
  fail "no sound or no lip-sync saved: $(cat "$dir/talk.tfa")"
xdotool windowfocus --sync "$window" key space sleep 0.3 key space
render alt+v
wait_until 60 "animation.mp4" test -e "$out/animation.mp4"
[ "$(frames)" = "animation0.png animation1.png animation2.png animation3.png animation4.png animation5.png" ] ||
  fail "frames: $(frames)"
[ "$(identify -format '%T %w;' "$out/animation.gif" 2>/dev/null)" = "4 320;4 320;4 320;4 320;4 320;4 320;" ] ||
  fail "GIF: $(identify -format '%T %w;' "$out/animation.gif" 2>&1)"
streams=$(timeout 10 ffprobe -v error -show_entries stream=codec_name,duration -of csv=p=0 "$out/animation.mp4")
awk -F, '{ d = $2 - 0.24; if (d < 0) d = -d; if (d > 0.04) exit 1 }' <<<"$streams" &&
  [ "$(cut -d, -f1 <<<"$streams" | xargs)" = "h264 aac" ] || fail "video streams: $streams"
echo "video streams:" $streams
only_complete_frames "after the render" "320 240"

# Its header reads, its second float sample is no number.
printf 'RIFF\54\0\0\0WAVEfmt \20\0\0\0\3\0\1\0\100\37\0\0\0\175\0\0\4\0\40\0data\10\0\0\0\0\0\0\0\377\377\377\377' >"$dir/nan.wav"
sed 's/^key 0/sound 0: nan.wav\r\nkey 0/' "$dir/blink.tfa" >"$dir/broken.tfa"
rm -f "$out"/animation*
open_animation broken.tfa
answer Notice "of nan.wav at the opening"
box=$(menu_dialog r 'Render animation')
xdotool windowfocus --sync "$box" key alt+s
answer 'Render failed' "nan.wav refused"
[ -z "$(frames)" ] || fail "frames rendered before the refusal: $(frames)"

# A long one: Esc as soon as the progress window shows (the editor must not
# take the keyboard back), Enter on Cancel once frames come, then Exit
# during a render.
sed 's/length in frames: 6/length in frames: 100/' "$dir/blink.tfa" >"$dir/long.tfa"
rm -f "$out"/animation*
open_animation long.tfa
# A search that finds nothing is no failure here: past the wrapper.
progress_gone() { [ -z "$(command xdotool search --onlyvisible --name '^Rendering animation$' 2>/dev/null)" ]; }
render alt+v # no video from here on
xdotool windowfocus --sync "$progress" key Escape
# Cancel ends every POV-Ray (16 on two cores): slower beside a build.
wait_until 15 "end of the progress window after Esc" progress_gone
only_complete_frames "after Esc" "320 240"

render
some_frame() { [ -n "$(frames)" ]; }
wait_until 30 "a frame" some_frame
# The last frame shows in the progress window: far more colours than its
# controls have.
frame_shown() {
  import -display "$DISPLAY" -window root "$shot"
  eval "$(xdotool getwindowgeometry --shell "$progress")"
  colours=$(convert "$shot" -crop "${WIDTH}x$HEIGHT+$X+$Y" -format %k info:)
  [ "$colours" -gt 200 ]
}
wait_until 10 "last frame in the progress window" frame_shown
echo "colours in the progress window: $colours"
xdotool windowfocus --sync "$progress" key Return
wait_until 15 "end of the progress window after Enter on Cancel" progress_gone
only_complete_frames "after Enter" "320 240"

# Again: the frames kept stay as they are while the others come. A quiet
# machine may have rendered them all before Enter: every other one goes.
kept= i=0
for frame in $(frames); do
  if ((i++ % 2)); then rm "$out/$frame"; else kept="$kept $frame"; fi
done
identity() { for frame in $kept; do stat -c '%n %Y %i' "$out/$frame"; done; }
identity >"$dir/kept"
render
more() { [ "$(frames | wc -w)" -gt "$(echo "$kept" | wc -w)" ]; }
wait_until 30 "a frame beyond the $(echo "$kept" | wc -w) kept" more
identity | cmp -s - "$dir/kept" || fail "kept frames were rendered again"
# The progress window holds the keyboard: a click on the editor's status
# bar takes it back, as a user does, before File > Exit.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + WIDTH - 30)) $((Y + HEIGHT - 12)) click 1
exit_program
only_complete_frames "after Exit" "320 240"
result
