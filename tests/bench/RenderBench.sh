#!/bin/bash
# The render preview's latency beside its floor: plain POV-Ray runs of the
# same scene at 320 x 240 from the shell (median of ten), then render_bench
# under Wine. Usage: RenderBench.sh [build dir], from the source tree, with
# scripts/wine-env.sh's display and Wine started (as scripts/test does).
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/${TAVOK_BENCH_PRESET:-win32}}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp "$root"/povray/TavokHead.* "$dir"
printf '<0,0,0>,0.5,\n30,-30,\n30,-30,\n0,\n0,\n0,\n0,\n0\n' >"$dir/pose.txt"
times=()
for _ in $(seq 10); do
  start=$(date +%s%N)
  (cd "$dir" && povray +ITavokHead.pov +Oout.bmp +FB +W320 +H240 -D -P +WT1 >/dev/null 2>&1)
  times+=($((($(date +%s%N) - start) / 1000000)))
done
floor=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 6p)
echo "plain povray from the shell, median of 10 at 320x240: $floor ms"
"$root/scripts/wine-run" "$build/bin/render_bench.exe" | tee "$dir/bench.txt"
preview=$(sed -n 's/.*: \([0-9]*\) ms (pause \([0-9]*\) ms)/\1 \2/p' "$dir/bench.txt")
read -r took pause <<<"$preview"
echo "ratio preview / (floor + pause): $(awk "BEGIN {printf \"%.2f\", $took / ($floor + $pause)}")" \
  "(target: preview within 1.3 x floor + pause = $(awk "BEGIN {print 1.3 * $floor + $pause}") ms)"
