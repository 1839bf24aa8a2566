# Sourced by scripts/test and scripts/start: a private X display with a small
# window manager, and a Wine prefix whose server runs detached until cleanup.
# Everything started here is stopped by PID (or wineserver -k for our prefix).

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="$root/build/wineprefix"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
started_pids=()

stop_started() {
  if [ -n "${wine_started:-}" ]; then
    DISPLAY="$TAVOK_DISPLAY" wineserver -k >/dev/null 2>&1 || true
    wine_started=
  fi
  for pid in "${started_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${started_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  started_pids=()
}

# Starts Xvfb on a free display number and fvwm on it; sets TAVOK_DISPLAY.
start_display() {
  local n
  for n in $(seq 90 189); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
  done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  started_pids+=($!)
  for _ in $(seq 100); do
    xdpyinfo -display ":$n" >/dev/null 2>&1 && break
    sleep 0.1
  done
  xdpyinfo -display ":$n" >/dev/null 2>&1 || { echo "Xvfb did not start on :$n" >&2; return 1; }
  DISPLAY=":$n" fvwm -f "$root/scripts/fvwm.conf" </dev/null >/dev/null 2>&1 &
  started_pids+=($!)
  export TAVOK_DISPLAY=":$n"
}

# Creates the prefix once, then starts its server and services detached from
# our output, so no test runner waits on a pipe a Wine service holds open.
start_wine() {
  export DISPLAY="$TAVOK_DISPLAY"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix $WINEPREFIX (once; takes up to a minute)"
    mkdir -p "$WINEPREFIX"
    wine wineboot -i </dev/null >/dev/null 2>&1
    wineserver -w
    # A crashing test must exit, not wait on a dialog.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      </dev/null >/dev/null 2>&1
    wineserver -w
  fi
  wineserver -p </dev/null >/dev/null 2>&1
  wine_started=1
  wine wineboot </dev/null >/dev/null 2>&1
}
