#!/bin/bash
# The expression library's POV-Ray thumbnails beside their floor: plain
# POV-Ray runs at 96 x 72 from the shell, one after another, for a folder of
# 100 poses and the 12 shipped ones, then the time from Ctrl+L in the real
# program, with that folder remembered, until all 112 renders are in its
# cache. Usage: ExpressionRenderBench.sh [build dir], from the source tree,
# with scripts/wine-env.sh's display and Wine started (as scripts/test does).
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/${TAVOK_BENCH_PRESET:-win32}}
export DISPLAY="$TAVOK_DISPLAY"
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
dir=$(mktemp -d /tmp/tavokXXXXXX)
program=
finish() {
  [ -n "$program" ] && kill "$program" 2>/dev/null && wait "$program" 2>/dev/null
  rm -rf "$dir"
}
trap finish EXIT
source "$root/tests/app/XdoHelpers.sh"
mkdir "$dir/folder" "$dir/plain"
for i in $(seq 100); do
  printf '<0,%d,0>,0.5,\r\n30,-30,\r\n30,-30,\r\n0,\r\n0,\r\n%s,\r\n0,\r\n0\r\n' \
    $((i % 30)) "$(awk "BEGIN {print ($i - 50) / 100}")" >"$dir/folder/pose$i.txt"
done
cp "$root"/povray/TavokHead.* "$dir/plain"
start=$(date +%s%N)
for pose in "$dir"/folder/*.txt "$root"/poses/*.txt; do
  cp "$pose" "$dir/plain/pose.txt"
  (cd "$dir/plain" && povray +ITavokHead.pov +Oout.bmp +FB +W96 +H72 -D -P +WT1 >/dev/null 2>&1)
done
floor=$((($(date +%s%N) - start) / 1000000))
echo "112 plain povray runs from the shell at 96x72: $floor ms"

cp "$build/bin/TavokF.exe" "$dir/TavokF.exe"
cp -r "$root/poses" "$dir/poses"
folder="Z:${dir//\//\\}\\folder"
printf '%s\r\n' "$folder" >"$dir/TavokF.ini"
scratch() { ls -d "$WINEPREFIX"/drive_c/users/*/Temp/TavokF-* 2>/dev/null; }
before=$(scratch)
(cd "$dir" && exec "$root/scripts/wine-run" "$dir/TavokF.exe" </dev/null >/dev/null 2>&1) &
program=$!
window=$(find_window 'TavokFace.*')
[ -n "$window" ] || { echo "no TavokFace window"; exit 1; }
sleep 1
start=$(date +%s%N)
xdotool windowfocus --sync "$window" key ctrl+l
count=0
for _ in $(seq 3000); do
  new=$(comm -13 <(echo "$before") <(scratch) | head -1)
  count=$(ls "$new"/thumb-* 2>/dev/null | wc -l)
  [ "$count" -ge 112 ] && break
  sleep 0.1
done
took=$((($(date +%s%N) - start) / 1000000))
[ "$count" -ge 112 ] || { echo "only $count of 112 renders within 300 s"; exit 1; }
echo "Ctrl+L to all 112 thumbnails rendered: $took ms;" \
  "ratio $(awk "BEGIN {printf \"%.2f\", $took / $floor}") (target: within 1.3)"
xdotool windowfocus --sync "$window" key alt+f x
wait "$program"
program=
