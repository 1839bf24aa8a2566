#!/bin/bash
# Whether tavokpose animate's default number of POV-Rays keeps the cores
# busy: 100 frames of a two-key animation at 160x120 and 640x480, the wall
# time with the default against the processor-time floor (the processor time
# of the same render on 16 processes, divided by the cores), with the load
# average at each. Usage: AnimateCoresBench.sh [tavokpose] [repeats]
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
tool=${1:-$root/build/native/bin/tavokpose}
repeats=${2:-1}
dir=$(mktemp -d /tmp/tavokcoresXXXXXX)
trap 'rm -rf "$dir"' EXIT
export TAVOK_SCENE_DIR="$root/povray"
printf 'TavokFace animation\r\nframes per second: 25\r\nlength in frames: 100\r\ninterpolation: smooth\r
key 0: <0,0,0>,0.5, 30,-30, 30,-30, 0, 0, 0, 0, 0\r\nkey 99: <20,-10,0>,0.8, 30,90, 30,90, 0.5, 0, 0, 0, 0\r\n' \
  >"$dir/two.tfa"
cores=$(nproc)
TIMEFORMAT='%R %U %S'
# "wall processor" seconds of one render.
render() {
  rm -rf "$dir/frames"
  { time "$tool" animate "$dir/two.tfa" "$dir/frames" --size "$1" "${@:2}" >/dev/null; } 2>&1 |
    awk '{printf "%.2f %.2f", $1, $2 + $3}'
}
load() { cut -d' ' -f1 /proc/loadavg; }
for _ in $(seq "$repeats"); do
  for size in 160x120 640x480; do
    before=$(load)
    read -r wall _ <<<"$(render "$size")"
    read -r wall16 cpu16 <<<"$(render "$size" --jobs 16)"
    floor=$(awk "BEGIN {printf \"%.2f\", $cpu16 / $cores}")
    echo "$size: default $wall s, 16 jobs $wall16 s, floor $floor s ($cpu16 s of processor" \
      "time / $cores cores): $(awk "BEGIN {printf \"%.2f\", $wall / $floor}") x the floor" \
      "(target 1.15); load average $before before, $(load) after"
  done
done
