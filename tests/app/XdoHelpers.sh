# Sourced, with the script's arguments, by the scripts that drive a real
# program with xdotool: the program ($exe) and the screenshot's path ($shot),
# the source tree ($root), the test display and the Wine prefix; input with
# deadlines, failures that do not stop the run (also from subshells), waits
# bounded in seconds within the script's budget ($budget seconds, below its
# ctest timeout), and window searches that survive windows closing meanwhile.
# Needs $window for menu_dialog.

set -u
exe=${1:-}
shot=${2:-}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export DISPLAY="$TAVOK_DISPLAY"
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
budget_end=$((SECONDS + ${budget:-25}))
failures=$(mktemp)
# Said on stderr, so that a failure inside $(...) shows as well.
fail() { echo "$*" | tee -a "$failures" >&2; }
# The script's result: 0 when nothing failed.
result() {
  local failed=0
  [ -s "$failures" ] && failed=1
  rm -f "$failures"
  return $failed
}
# Ends the script: fails with the failures, else prints what passed ($1).
passed() {
  result || exit 1
  echo "$1"
}

# Every input has its deadline; one that fails or times out (a window that
# never takes the focus) fails the test.
xdotool() { timeout 10 xdotool "$@" || fail "xdotool $* failed or waited 10 s"; }

# The budget holds for every command, not only the waits below: once it is
# spent the run ends (through the EXIT trap), naming the wait it was in,
# before ctest's timeout can end it without a word.
waiting_for="the first wait"
budget_spent() {
  fail "the script's budget of ${budget:-25} s is spent, waiting for $waiting_for"
  exit 1
}
trap budget_spent USR1
(sleep "${budget:-25}" && kill -USR1 $$) </dev/null >/dev/null 2>&1 &
watchdog=$!
# Frozen first, so it cannot signal once its sleep has gone.
stop_watchdog() { kill -STOP $watchdog && pkill -P $watchdog && kill -KILL $watchdog; } 2>/dev/null
trap stop_watchdog EXIT

# Polls a command until it succeeds, for at most $1 seconds and never past
# the budget; else fails naming what it waited for ($2).
wait_until() {
  local seconds=$1 what=$2 end
  shift 2
  waiting_for=$what
  end=$((SECONDS + seconds < budget_end ? SECONDS + seconds : budget_end))
  until "$@"; do
    [ $SECONDS -ge $end ] && { fail "no $what within $seconds s"; return 1; }
    sleep 0.1
  done
}

# The newest visible top-level window with this exact title, within $2
# seconds (10 by default). A search fails when a window closes while it runs
# (a dialog just answered): search again.
find_window() {
  local found end=$((SECONDS + ${2:-10}))
  waiting_for="window $1"
  [ $end -gt $budget_end ] && end=$budget_end
  while [ $SECONDS -lt $end ]; do
    found=$(timeout 5 xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -1)
    [ -n "$found" ] && { echo "$found"; return; }
    sleep 0.1
  done
}

# Whether no visible top-level window has the title $1, for wait_until.
closed() { [ -z "$(timeout 5 xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)" ]; }

# Whether the real file dialog $1 has given its name field the keyboard: the
# field shows a caret only then, so typing is not lost.
dialog_focused() {
  [ "$(timeout 5 xdotool getwindowfocus 2>/dev/null)" = "$1" ]
}

# Opens a dialog through a menu ($1: the item's keys; $3: the menu's letter,
# the File menu's by default) and prints
# its window once it has the focus; a busy machine may lose the letter
# before the menu is open, so the menu is closed and asked again. Without
# the dialog the run ends.
menu_dialog() {
  local box
  for _ in 1 2 3; do
    # $1 unquoted: an item may take several keys.
    xdotool windowfocus --sync "$window" key "alt+${3:-f}" $1
    box=$(find_window "$2" 5)
    if [ -n "$box" ]; then
      # Asked again while it has not come: a busy window manager drops some.
      waiting_for="focus in the dialog \"$2\""
      for _ in $(seq 10); do
        timeout 1 xdotool windowfocus --sync "$box" 2>/dev/null
        dialog_focused "$box" && { echo "$box"; return; }
        sleep 0.2
      done
      fail "no focus in the dialog \"$2\" after 10 tries"
      return 1
    fi
    xdotool windowfocus --sync "$window" key Escape Escape
  done
  fail "no dialog \"$2\" after three tries"
  exit 1
}

# Chooses the file $3 in the file dialog that item $1 of a menu opens ($2:
# its title; $4: the menu's letter, the File menu's by default): typed over
# what the name field holds (the name last used), then Return.
choose_file() {
  local box
  box=$(menu_dialog "$1" "$2" "${4:-f}") || exit 1
  xdotool windowfocus --sync "$box" key End shift+Home type "$3"
  xdotool key Return
}

# Waits for a file to hold exactly these bytes (compared byte for byte).
expect_file() {
  local want
  want=$(mktemp)
  printf '%s' "$2" >"$want"
  wait_until 5 "file $1 with the expected bytes" cmp -s "$want" "$1" ||
    od -c "$1" 2>&1 | head -10
  rm -f "$want"
}

# The colour of a pixel of the screen, as "r,g,b".
screen_pixel() {
  import -display "$DISPLAY" -window root "$shot"
  convert "$shot" -crop "1x1+$1+$2" -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' info:
}

# A folder of the test's own as the current folder, holding a copy of the
# program ($1); with "settled", a settings file too, so the start shows no
# notice. No "." anywhere in it, or saved names would get no ".txt". When the
# script ends, the program is ended and the folder goes.
program_folder() {
  dir=$(mktemp -d /tmp/tavokXXXXXX)
  cp "$1" "$dir/TavokF.exe"
  [ "${2:-}" = settled ] && printf 'C:\\\r\n' >"$dir/TavokF.ini"
  cd "$dir" || exit 1
  program=
  trap 'end_program; rm -rf "$dir" "$failures"; stop_watchdog' EXIT
}
# The face view lies between the bars, below the menu. Its middle mouth
# point of a 350-wide view is at x 175, on the mouth line, which crosses
# x 150 in red; the other parts keep their place relative to it.
# The line is 3 pixels wide: its middle row is the mouth's.
mouth_line() {
  eval "$(timeout 5 xdotool getwindowgeometry --shell "$window")"
  import -display "$DISPLAY" -window root "$shot"
  mouth=$(convert "$shot" -crop "1x$HEIGHT+$((X + 150))+$Y" txt:- |
    awk -F'[,:]' '/#FF4040/ { if (first == "") first = $2; last = $2 }
      END { if (first != "") print int((first + last) / 2) }')
  [ -n "$mouth" ]
}
# Sets X and Y so that (X + x, Y + y) is point (x, y) of a face whose mouth
# line is at y 235. Uses $shot as scratch.
face_origin() {
  wait_until 10 "mouth line in the face view" mouth_line || return 1
  Y=$((Y + mouth - 235))
}

end_program() { [ -n "$program" ] && kill "$program" 2>/dev/null && wait "$program" 2>/dev/null; }

# Starts the program through Wine (or the command given) and finds its main
# window. A first start (no settings file) shows one notice, which gets
# Return. Without the notice or the window the run ends.
start_program() {
  local notice first=1
  [ -f "$dir/TavokF.ini" ] && first=
  "${@:-$root/scripts/wine-run}" "$dir/TavokF.exe" </dev/null >/dev/null 2>&1 &
  program=$!
  if [ -n "$first" ]; then
    notice=$(find_window Notice 20)
    [ -n "$notice" ] || { echo "no notice at the first start"; exit 1; }
    xdotool windowfocus --sync "$notice" key Return
  fi
  window=$(find_window 'TavokFace.*' 30)
  [ -n "$window" ] || { echo "no TavokFace window"; exit 1; }
}

# File > Exit: the program ends within 10 s, with 0. A busy machine may lose
# the letter before the menu is open: while the window is still there after
# 5 s, the menu is closed and Exit asked again.
exit_program() {
  local code
  xdotool windowfocus --sync "$window" key alt+f x
  ended() { ! kill -0 "$program" 2>/dev/null; }
  for _ in $(seq 50); do ended && break; sleep 0.1; done
  if ! ended && [ -n "$(command xdotool search --onlyvisible --name '^TavokFace' 2>/dev/null)" ]; then
    # The window may be closing meanwhile: no failure if it has gone.
    timeout 10 xdotool windowfocus --sync "$window" key Escape Escape alt+f x >/dev/null 2>&1
  fi
  wait_until 10 "end of the program after Exit" ended || return 1
  wait "$program"
  code=$?
  program=
  [ $code = 0 ] || fail "exit code $code after Exit"
}
