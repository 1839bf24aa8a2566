#!/bin/bash
# tavokpose animate's figures: 48 frames at 320 x 240 with one POV-Ray
# process and with the default (one per core), and Ctrl+C to the last
# POV-Ray gone, median and maximum of ten. Usage: AnimateBench.sh [tavokpose]
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
tool=${1:-$root/build/native/bin/tavokpose}
dir=$(mktemp -d /tmp/tavokbenchXXXXXX)
trap 'rm -rf "$dir"' EXIT
export TAVOK_SCENE_DIR="$root/povray"
printf 'TavokFace animation\r\nframes per second: 24\r\nlength in frames: 48\r\ninterpolation: smooth\r
key 0: <0,0,0>,0.5, 30,-30, 30,-30, 0, 0, 0, 0, 0\r\nkey 12: <0,0,0>,0.5, 30,90, 30,90, 0, 0, 0, 0, 0\r
key 24: <20,-10,0>,0.8, 30,-30, 30,-30, 0.5, 0, 0, 0, 0\r\nkey 47: <0,0,0>,0.5, 30,-30, 30,-30, 0, 0, 0, 0, 0\r\n' \
  >"$dir/blink.tfa"
seconds() { awk "BEGIN {printf \"%.2f\", ($2 - $1) / 1e9}"; }

fps=()
for jobs in 1 "$(nproc)"; do
  rm -rf "$dir/frames"
  start=$(date +%s%N)
  "$tool" animate "$dir/blink.tfa" "$dir/frames" --jobs "$jobs" >/dev/null
  took=$(seconds "$start" "$(date +%s%N)")
  fps+=("$(awk "BEGIN {printf \"%.2f\", 48 / $took}")")
  echo "48 frames at 320x240, $jobs process(es): $took s, ${fps[-1]} frames/s"
done
echo "speed-up with $(nproc) processes: $(awk "BEGIN {printf \"%.2f\", ${fps[1]} / ${fps[0]}}") x" \
  "(target: at least 1.7 x on 2 cores)"

# Ctrl+C once the first frame is there; the time until no POV-Ray works in
# the output folder any more.
working() { for p in /proc/[0-9]*; do readlink "$p/cwd" 2>/dev/null; done | grep -c "^$dir/frames"; }
times=()
for _ in $(seq 10); do
  rm -rf "$dir/frames"
  "$tool" animate "$dir/blink.tfa" "$dir/frames" >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 200); do [ -e "$dir/frames/blink00.png" ] && break; sleep 0.05; done
  start=$(date +%s%N)
  kill -INT "$pid"
  for _ in $(seq 500); do [ "$(working)" = 0 ] && break; sleep 0.01; done
  times+=($((($(date +%s%N) - start) / 1000000)))
  wait "$pid" || true
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
echo "Ctrl+C to the last POV-Ray gone, 10 runs: median $(echo "$sorted" | sed -n 5p) ms," \
  "maximum $(echo "$sorted" | tail -1) ms (target: under 1 s)"
