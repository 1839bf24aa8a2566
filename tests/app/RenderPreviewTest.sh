#!/bin/bash
# The render preview in the real program under real key input: F5 shows the
# POV-Ray render beside the face, keys re-render it, F5 hides it, and Exit
# ends the render that runs and leaves no scratch folder. Started again with
# no POV-Ray on the PATH, the preview shows no picture and the editor still
# saves and opens poses.
# Usage: RenderPreviewTest.sh TavokF.exe screenshot.png
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
windows_dir="Z:${dir//\//\\}"
printf 'C:\\\r\n' >"$dir/TavokF.ini" # no first-start notice
cd "$dir"
program=
finish() {
  [ -n "$program" ] && kill "$program" 2>/dev/null && wait "$program" 2>/dev/null
  rm -rf "$dir"
}
trap finish EXIT

source "$root/tests/app/XdoHelpers.sh"
# The colour of a pixel of the screen, as "r,g,b".
pixel() {
  import -display "$DISPLAY" -window root "$shot"
  convert "$shot" -crop "1x1+$1+$2" -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' info:
}
# The picture of the preview, cropped from the screen.
preview_image() {
  import -display "$DISPLAY" -window root "$shot"
  convert "$shot" -crop "320x240+$PX+$PY" "$1"
}
# Scratch folders of the program, and processes working in one.
scratch() { ls -d "$WINEPREFIX"/drive_c/users/*/Temp/TavokF-* 2>/dev/null; }
working_in_scratch() {
  for p in /proc/[0-9]*; do readlink "$p/cwd" 2>/dev/null; done | grep -c '/Temp/TavokF-'
}
start() {
  "$@" "$dir/TavokF.exe" </dev/null >/dev/null 2>&1 &
  program=$!
  window=$(find_window 'TavokFace.*')
  [ -n "$window" ] || { echo "no TavokFace window"; exit 1; }
}
open_preview() {
  xdotool windowfocus --sync "$window" key F5
  preview=$(find_window 'Render preview')
  [ -n "$preview" ] || { fail "F5 showed no preview"; return 1; }
  eval "$(xdotool getwindowgeometry --shell "$preview" | sed 's/^/P/')"
}
exit_program() {
  xdotool windowfocus --sync "$window" key alt+f x
  for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$program" 2>/dev/null; then fail "the program did not end"; else wait "$program"; fi
  program=
}
before=$(scratch)

start wine
open_preview || exit 1
eval "$(xdotool getwindowgeometry --shell "$window")"
[ $((PX)) -ge $((X + WIDTH)) ] || [ $((PX + PWIDTH)) -le $((X)) ] || fail "the preview covers the face"
# The first render replaces the empty panel.
for _ in $(seq 100); do [ "$(pixel $((PX + 160)) $((PY + 200)))" != 240,240,240 ] && break; sleep 0.2; done
[ "$(pixel $((PX + 160)) $((PY + 200)))" != 240,240,240 ] || fail "no render within 20 s"
sleep 0.5
preview_image "$dir/first.png"
# The eyes turn; the render follows.
xdotool windowfocus --sync "$window" key 4 4 4 4 4 4 4 4 4 4
changed=0
for _ in $(seq 100); do
  sleep 0.2
  preview_image "$dir/next.png"
  differ=$(compare -metric AE "$dir/first.png" "$dir/next.png" null: 2>&1)
  [ "${differ%% *}" -gt 100 ] 2>/dev/null && { changed=1; break; }
done
[ $changed = 1 ] || fail "the render did not follow the keys within 20 s"
# F5 again hides it.
xdotool windowfocus --sync "$window" key F5
hidden=0
for _ in $(seq 50); do
  [ -z "$(xdotool search --onlyvisible --name '^Render preview$')" ] && { hidden=1; break; }
  sleep 0.1
done
[ $hidden = 1 ] || fail "F5 did not hide the preview"
# Exit while a render runs: no POV-Ray left working, no scratch folder.
open_preview
xdotool windowfocus --sync "$window" key 4
sleep 0.5
exit_program
sleep 0.5
[ "$(working_in_scratch)" = 0 ] || fail "a process still works in a scratch folder"
[ "$(scratch)" = "$before" ] || fail "scratch folder left: $(scratch)"

# No POV-Ray on the PATH (Wine's own folder only): no picture, and the
# editor saves and opens as before.
start env PATH=/usr/lib/wine /usr/bin/wine
open_preview
sleep 1
[ "$(pixel $((PX + 160)) $((PY + 200)))" = 240,240,240 ] || fail "a picture without POV-Ray"
xdotool windowfocus --sync "$window" key 8 8
box=$(menu_dialog s 'Save Pose') || exit 1
xdotool windowfocus --sync "$box" key End shift+Home type "$windows_dir\\nopov"
xdotool key Return
for _ in $(seq 50); do [ -s "$dir/nopov.txt" ] && break; sleep 0.1; done
[ -s "$dir/nopov.txt" ] || fail "no save without POV-Ray"
box=$(menu_dialog o 'Load Pose') || exit 1
xdotool windowfocus --sync "$box" key End shift+Home type "$windows_dir\\nopov.txt"
xdotool key Return
sleep 0.5
title=$(xdotool getwindowname "$window")
[ "$title" = "TavokFace - [nopov.txt]" ] || fail "title after opening without POV-Ray: $title"
exit_program
[ $status = 0 ] && echo "render preview: F5, renders that follow keys, hiding, clean exit, and no POV-Ray as expected"
exit $status
