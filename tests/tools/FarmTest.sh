#!/bin/bash
# tavokpose farm on a real one-node Slurm started here, without systemd or
# munge: a 3-task array renders 7 frames into the output folder and the
# dependent assembly makes the GIF; with a POV-Ray that fails, the tasks fail
# with its exit status and the assembly is dropped. The daemons are stopped
# by pid.
# Usage: FarmTest.sh tavokpose
set -u
tool=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
dir=$(mktemp -d /tmp/tavokfarmXXXXXX)
daemons=()
finish() {
  for pid in "${daemons[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${daemons[@]}"; do wait "$pid" 2>/dev/null; done
  rm -rf "$dir"
}
trap finish EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }
# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
  local seconds=$1
  shift
  for _ in $(seq $((seconds * 10))); do "$@" && return 0; sleep 0.1; done
  "$@"
}

# Ports of this run's own, so that runs side by side do not meet.
port=$((20000 + ($$ % 5000) * 2))
mkdir -p "$dir/state" "$dir/spool"
export SLURM_CONF="$dir/slurm.conf"
cat >"$SLURM_CONF" <<CONF
ClusterName=tavok
SlurmctldHost=$(hostname -s)
SlurmUser=root
SlurmctldPort=$port
SlurmdPort=$((port + 1))
AuthType=auth/none
CredType=cred/none
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
AccountingStorageType=accounting_storage/none
JobAcctGatherType=jobacct_gather/none
MpiDefault=none
ReturnToService=2
StateSaveLocation=$dir/state
SlurmdSpoolDir=$dir/spool
SlurmctldPidFile=$dir/slurmctld.pid
SlurmdPidFile=$dir/slurmd.pid
SlurmctldLogFile=$dir/slurmctld.log
SlurmdLogFile=$dir/slurmd.log
$(slurmd -C | head -1)
PartitionName=tavok Nodes=ALL Default=YES MaxTime=INFINITE State=UP
CONF
slurmctld -D -i -f "$SLURM_CONF" </dev/null >/dev/null 2>&1 &
daemons+=($!)
slurmd -D -f "$SLURM_CONF" </dev/null >/dev/null 2>&1 &
daemons+=($!)
idle() { [ "$(sinfo -h -o %t 2>/dev/null)" = idle ]; }
wait_for 20 idle || { fail "the node was not idle within 20 s"; tail -5 "$dir"/*.log; exit 1; }

printf 'TavokFace animation\r\nframes per second: 25\r\nlength in frames: 7\r\ninterpolation: smooth\r
key 0: <0,0,0>,0.5, 30,-30, 30,-30, 0, 0, 0, 0, 0\r\nkey 6: <10,-20,30>,0.8, 30,90, 45,90, 0, 0, 0, 0, 0\r\n' \
  >"$dir/blink.tfa"
# The folder every node shares, with a name the shell must not read.
out="$dir/it's \$(frames)"
export TAVOK_SCENE_DIR="$root/povray"
# The job ids of "frames: job N; assembly: job M".
submit() {
  "$tool" farm "$dir/blink.tfa" "$out" --slurm --submit --jobs 3 --size 64x48 --gif "$out/b.gif" \
    >"$dir/submit.txt" 2>&1 || { fail "submit: $(cat "$dir/submit.txt")"; exit 1; }
  frames=$(sed -n 's/.*frames: job \([0-9]*\);.*/\1/p' "$dir/submit.txt")
  assembly=$(sed -n 's/.*assembly: job \([0-9]*\)$/\1/p' "$dir/submit.txt")
  [ -n "$frames" ] && [ -n "$assembly" ] || { fail "no job ids: $(cat "$dir/submit.txt")"; exit 1; }
}
queue_empty() { [ -z "$(squeue -h 2>/dev/null)" ]; }
job_states() { scontrol show job "$1" | sed -n 's/.*JobState=\([A-Z]*\).*/\1/p' | sort -u | xargs; }

submit
wait_for 60 queue_empty || fail "jobs still queued after 60 s: $(squeue -h)"
[ "$(job_states "$frames")" = COMPLETED ] || fail "frame tasks: $(job_states "$frames")"
[ "$(job_states "$assembly")" = COMPLETED ] || fail "assembly: $(job_states "$assembly")"
expected=".tavokpose-blink-logs b.gif blink0.png blink1.png blink2.png blink3.png blink4.png blink5.png blink6.png"
[ "$(cd "$out" && ls -A | xargs)" = "$expected" ] || fail "output folder: $(ls -A "$out" | xargs)"
for frame in "$out"/blink*.png; do
  [ "$(identify -format '%w %h' "$frame")" = "64 48" ] || fail "not a whole frame: $frame"
done
[ "$(identify -format '%T ' "$out/b.gif")" = "4 4 4 4 4 4 4 " ] || fail "GIF: $(identify "$out/b.gif")"
# The logs outlive the work folder the assembly removed.
[ "$(ls "$out/.tavokpose-blink-logs" | grep -c '^slurm-.*\.out$')" = 4 ] ||
  fail "job logs: $(ls -A "$out/.tavokpose-blink-logs" | xargs)"

# POV-Ray's failure is the tasks' failure; the assembly never runs.
rm -rf "$out"
POVRAY=false submit
wait_for 60 queue_empty || fail "failing jobs still queued after 60 s: $(squeue -h)"
[ "$(job_states "$frames")" = FAILED ] || fail "failing frame tasks: $(job_states "$frames")"
scontrol show job "$frames" | grep -q 'ExitCode=1:0' || fail "POV-Ray's exit status was lost"
[ "$(job_states "$assembly")" = CANCELLED ] || fail "assembly after failure: $(job_states "$assembly")"
[ ! -e "$out/b.gif" ] || fail "a GIF after failed frames"

# A task that failed once is submitted again alone, and the assembly with it.
rm -rf "$out"
printf '#!/bin/sh\n[ "$SLURM_ARRAY_TASK_ID" != 1 ] || [ -e %s ] || exit 1\nexec povray "$@"\n' \
  "'$dir/fixed'" >"$dir/flaky"
chmod +x "$dir/flaky"
POVRAY=$dir/flaky submit
wait_for 60 queue_empty || fail "flaky jobs still queued after 60 s: $(squeue -h)"
[ "$(ls "$out" | grep -c '^blink')" = 5 ] || fail "the other tasks' frames: $(ls "$out" | xargs)"
touch "$dir/fixed"
sh "$out/.tavokpose-blink-frames/submit.sh" --failed >"$dir/again.txt" 2>&1 || fail "$(cat "$dir/again.txt")"
frames=$(sed -n 's/.*frames: job \([0-9]*\);.*/\1/p' "$dir/again.txt")
wait_for 60 queue_empty || fail "resubmitted jobs still queued after 60 s: $(squeue -h)"
[ "$(scontrol show job "$frames" | grep -c 'ArrayTaskId=')" = 1 ] || fail "resubmitted: $(scontrol show job "$frames" | grep ArrayTaskId)"
[ "$(cd "$out" && ls -A | xargs)" = "$expected" ] || fail "after resubmitting: $(ls -A "$out" | xargs)"

# Slurm takes arrays of 1001 tasks at most; a refused submission leaves nothing.
sed 's/length in frames: 7/length in frames: 2000/' "$dir/blink.tfa" >"$dir/long.tfa"
"$tool" farm "$dir/long.tfa" "$dir/many" --slurm --jobs 2000 >"$dir/many.txt" 2>&1
grep -q '^1000 tasks render 2000 frames' "$dir/many.txt" || fail "2000 tasks: $(cat "$dir/many.txt")"
mkdir -p "$dir/refusing"
printf '#!/bin/sh\necho "sbatch: error: refused" >&2\nexit 1\n' >"$dir/refusing/sbatch"
chmod +x "$dir/refusing/sbatch"
PATH="$dir/refusing:$PATH" "$tool" farm "$dir/blink.tfa" "$dir/refused" --slurm --submit \
  >"$dir/refused.txt" 2>&1
[ $? = 3 ] || fail "a refused submission: $(cat "$dir/refused.txt")"
[ -z "$(ls -A "$dir/refused")" ] || fail "left after a refused submission: $(ls -A "$dir/refused")"
exit $failed
