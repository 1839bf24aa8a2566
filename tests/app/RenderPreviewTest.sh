#!/bin/bash
# The render preview in the real program under real key input: F5 shows the
# POV-Ray render beside the face, keys re-render it, F5 hides it, and Exit
# leaves no scratch folder. Started again with no POV-Ray on the PATH, the
# preview shows no picture. (A render running at Exit, and saving and opening
# without POV-Ray, are proven in process.)
# Usage: RenderPreviewTest.sh TavokF.exe screenshot.png
budget=50 # seconds; the ctest timeout is 60
source "$(dirname "$0")/XdoHelpers.sh"
program_folder "$exe" settled
# The picture of the preview, cropped from the screen.
preview_image() {
  import -display "$DISPLAY" -window root "$shot"
  convert "$shot" -crop "320x240+$PX+$PY" "$1"
}
# Scratch folders of the program; whether the preview shows a picture.
scratch() { ls -d "$WINEPREFIX"/drive_c/users/*/Temp/TavokF-* 2>/dev/null; }
picture() { [ "$(screen_pixel $((PX + 160)) $((PY + 200)))" != 240,240,240 ]; }
open_preview() {
  xdotool windowfocus --sync "$window" key F5
  preview=$(find_window 'Render preview' 20)
  [ -n "$preview" ] || { fail "F5 showed no preview"; return 1; }
  eval "$(xdotool getwindowgeometry --shell "$preview" | sed 's/^/P/')"
}
before=$(scratch)
# A killed editor's scratch folder (a process id no process has) goes when
# the program starts, before any render.
stale="$(ls -d "$WINEPREFIX"/drive_c/users/*/Temp | head -1)/TavokF-4194300-7"
mkdir -p "$stale" && touch "$stale/pose.txt"

start_program
gone() { [ ! -e "$stale" ]; }
wait_until 10 "the stale scratch folder removed at the start" gone
open_preview || exit 1
eval "$(xdotool getwindowgeometry --shell "$window")"
[ $((PX)) -ge $((X + WIDTH)) ] || [ $((PX + PWIDTH)) -le $((X)) ] || fail "the preview covers the face"
# The first render replaces the empty panel.
wait_until 15 "first render in the preview" picture
preview_image "$dir/first.png"
# The eyes turn; the render follows.
xdotool windowfocus --sync "$window" key 4 4 4 4 4 4 4 4 4 4
follows() {
  preview_image "$dir/next.png"
  differ=$(compare -metric AE "$dir/first.png" "$dir/next.png" null: 2>&1)
  [ "${differ%% *}" -gt 100 ] 2>/dev/null
}
wait_until 15 "render following the keys" follows
# F5 again hides it.
xdotool windowfocus --sync "$window" key F5
hidden() { [ -z "$(timeout 5 xdotool search --onlyvisible --name '^Render preview$')" ]; }
wait_until 5 "preview hidden by F5" hidden
exit_program
[ "$(scratch)" = "$before" ] || fail "scratch folder left: $(scratch)"

# No POV-Ray on the PATH (an empty folder only): after a key and well
# beyond the time a render takes, still no picture.
mkdir "$dir/nopath"
start_program env PATH="$dir/nopath" "$root/scripts/wine-run"
open_preview
xdotool windowfocus --sync "$window" key 8
end=$((SECONDS + 3))
while [ $SECONDS -lt $end ]; do
  picture && { fail "a picture without POV-Ray"; break; }
  sleep 0.2
done
exit_program
passed "render preview: F5, renders that follow keys, hiding, clean exit, and no POV-Ray as expected"
