# Sourced by scripts/test and scripts/start: a private X display with a small
# window manager, a private sound server, and a Wine prefix whose server runs
# detached until cleanup.
# Every step has a deadline and fails naming itself. Everything started here
# carries this run's mark in its environment (TAVOK_RUN), so stop_started ends
# exactly this run's processes, even the Unix children Wine starts.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/windows-widths.sh"
# The sourcing script ends when this machine's widths cannot be told. The
# loader is chosen when Wine is first needed: it may not be installed yet.
decide_windows_widths || exit 1
TAVOK_BENCH_PRESET=$(bench_preset)
export TAVOK_BENCH_PRESET
export WINEPREFIX="$root/build/wineprefix"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# A mark of our own, never one inherited: a caller's processes are not ours.
export TAVOK_RUN="$$-$RANDOM$RANDOM"
prefix_done="$WINEPREFIX/tavok-prefix-complete"
started_pids=()

# Runs a command detached from our output with a deadline in seconds; says
# which step failed or ran out of time.
bounded() {
  local seconds=$1 step=$2 status
  shift 2
  timeout -k 5 "$seconds" "$@" </dev/null >/dev/null 2>&1
  status=$?
  [ $status -eq 0 ] && return 0
  if [ $status -eq 124 ] || [ $status -eq 137 ]; then
    echo "wine-env: $step did not finish within $seconds s" >&2
  else
    echo "wine-env: $step failed (exit $status)" >&2
  fi
  return 1
}

# Waits up to `seconds` for a command to succeed; says what it waited for.
wait_for() {
  local seconds=$1 what=$2 end=$((SECONDS + $1))
  shift 2
  until "$@" >/dev/null 2>&1; do
    if [ $SECONDS -ge $end ]; then
      echo "wine-env: no $what within $seconds s" >&2
      return 1
    fi
    sleep 0.1
  done
}

# The pids of this run's processes (found by their mark), except ourselves;
# grep looks without the mark so that it does not find itself, and says 2
# when a process ended while it looked, which is no failure here.
run_pids() {
  { env -u TAVOK_RUN grep -lsz "^TAVOK_RUN=$TAVOK_RUN\$" /proc/[0-9]*/environ || true; } |
    while IFS=/ read -r _ _ pid _; do
      [ "$pid" != $$ ] && [ "$pid" != "$BASHPID" ] && echo "$pid"
    done
  return 0
}

# Ends this run's processes: the test runner first (so it starts no more),
# then Wine, then whatever is left (a Unix shell and POV-Ray a killed test
# left behind, fvwm, Xvfb), by force after three seconds.
stop_started() {
  # Whatever has already ended fails to be killed: under a caller's set -e
  # that must not end the cleanup half-way.
  local - pids
  set +e
  [ -n "${runner_pid:-}" ] && kill "$runner_pid" 2>/dev/null
  runner_pid=
  if [ -n "${wine_started:-}" ]; then
    DISPLAY="$TAVOK_DISPLAY" timeout -k 5 15 wineserver -k >/dev/null 2>&1
    wine_started=
  fi
  pids=$(run_pids)
  [ -n "$pids" ] && kill $pids 2>/dev/null
  for pid in "${started_pids[@]}"; do kill "$pid" 2>/dev/null; done
  for _ in $(seq 30); do
    pids=$(run_pids)
    [ -z "$pids" ] && break
    sleep 0.1
  done
  [ -n "$pids" ] && kill -KILL $pids 2>/dev/null
  for pid in "${started_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  started_pids=()
  [ -n "${sound_dir:-}" ] && rm -rf "$sound_dir"
  sound_dir=
  return 0
}

# Runs a command in the background and waits for it, so that a signal to us
# runs our trap at once rather than when the command ends.
interruptible() {
  "$@" &
  runner_pid=$!
  wait "$runner_pid"
  local status=$?
  runner_pid=
  return $status
}

# Starts Xvfb on a display it picks itself (no race with another server) and
# fvwm on it, and waits until fvwm manages the screen; sets TAVOK_DISPLAY.
start_display() {
  local ready n
  ready=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 3>"$ready" &
  started_pids+=($!)
  local xvfb=$!
  wait_for 10 "Xvfb display number" grep -q '[0-9]' "$ready"
  n=$(tr -dc 0-9 <"$ready")
  rm -f "$ready"
  # The display must be our own server's, not one that raced us.
  if [ -z "$n" ] || ! listens_on "$xvfb" "/tmp/.X11-unix/X$n"; then
    echo "wine-env: Xvfb (pid $xvfb) did not start a display of its own" >&2
    return 1
  fi
  export TAVOK_DISPLAY=":$n"
  # A loaded machine may start it slowly, and a window manager that died
  # is started once more; what it said is shown when it never manages.
  local log="$root/build/fvwm.log" attempt
  mkdir -p "$root/build"
  for attempt in 1 2; do
    DISPLAY=":$n" fvwm -f "$root/scripts/fvwm.conf" </dev/null >"$log" 2>&1 &
    started_pids+=($!)
    wait_for 30 "fvwm managing display :$n (attempt $attempt)" fvwm_ready && return 0
    kill -0 $! 2>/dev/null && echo "wine-env: fvwm (pid $!) runs but does not manage the screen" >&2 ||
      echo "wine-env: fvwm exited" >&2
    grep -v -e 'Missing font charsets' -e '^ISO8859' "$log" | tail -n 5 >&2
    kill $! 2>/dev/null
  done
  return 1
}

# A sound server of the run's own whose one card, the sink "tavok", plays in
# real time into nothing; its monitor, "tavok.monitor", records what played.
# Wine and the tests find it through XDG_RUNTIME_DIR, a private folder.
start_sound() {
  sound_dir=$(mktemp -d /tmp/tavok-soundXXXXXX) || return 1
  export XDG_RUNTIME_DIR="$sound_dir"
  pulseaudio --daemonize=no --exit-idle-time=-1 -n --load="module-null-sink sink_name=tavok" \
    --load="module-native-protocol-unix" </dev/null >"$sound_dir/log" 2>&1 &
  started_pids+=($!)
  wait_for 10 "sound server answering in $sound_dir" pactl info &&
    bounded 10 "pactl set-default-sink tavok" pactl set-default-sink tavok || {
    grep -v '^W:' "$sound_dir/log" | tail -n 5 >&2
    return 1
  }
}

# Whether process $1 holds the listening socket $2.
listens_on() {
  local inodes
  inodes=$(find "/proc/$1/fd" -lname 'socket:*' -printf '%l\n' 2>/dev/null | tr -dc '0-9\n')
  [ -n "$inodes" ] &&
    awk -v path="$2" '$8 == path || $8 == "@" path { print $7 }' /proc/net/unix |
    grep -qxF "$inodes"
}

fvwm_ready() {
  timeout -k 1 5 xprop -display "$TAVOK_DISPLAY" -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'
}

# Creates the prefix once (a prefix left half made by a killed run is made
# again); scripts/test runs it beside the builds.
make_prefix() {
  export DISPLAY="$TAVOK_DISPLAY"
  choose_wine_loader || return 1
  [ -f "$prefix_done" ] && return 0
  echo "Creating the Wine prefix $WINEPREFIX (once; takes up to a minute)"
  timeout -k 5 15 wineserver -k >/dev/null 2>&1
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wine_started=1
  bounded 180 "wineboot -i (creating the prefix)" "$TAVOK_WINE" wineboot -i &&
    bounded 60 "wineserver -w (after wineboot -i)" wineserver -w &&
    # A crashing test must exit, not wait on a dialog.
    bounded 60 "wine reg add ShowCrashDialog" "$TAVOK_WINE" reg add 'HKCU\Software\Wine\WineDbg' \
      /v ShowCrashDialog /t REG_DWORD /d 0 /f &&
    bounded 60 "wineserver -w (after reg add)" wineserver -w || return 1
  touch "$prefix_done"
}

# Makes the prefix if need be, then starts its server and services detached
# from our output, so no test runner waits on a pipe a Wine service holds open.
start_wine() {
  make_prefix || return 1
  # Persistent, but not forever: it ends on its own should we be killed.
  bounded 15 "wineserver -p" wineserver -p30 || return 1
  wine_started=1
  bounded 60 "wineboot (starting Wine)" "$TAVOK_WINE" wineboot || return 1
  # The desktop's process too: started by the first test that opens a
  # window, it would hold that test's output open after the test ended.
  "$TAVOK_WINE" explorer.exe /desktop </dev/null >/dev/null 2>&1 &
}
