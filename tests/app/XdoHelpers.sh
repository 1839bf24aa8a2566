# Sourced by the scripts that drive the real program with xdotool: input
# with deadlines, failures that do not stop the run, and window searches
# that survive windows closing meanwhile. Needs $window for menu_dialog.

# Every input has its deadline: a window that never takes the focus fails,
# it does not hang.
xdotool() { timeout 10 xdotool "$@" || echo "xdotool $* failed or waited 10 s" >&2; }

status=0
fail() {
  echo "$*"
  status=1
}

# The newest visible top-level window with this exact title, within $2
# seconds (30 by default). A search fails when a window closes while it runs
# (a dialog just answered): search again.
find_window() {
  local found end=$((SECONDS + ${2:-30}))
  while [ $SECONDS -lt $end ]; do
    found=$(timeout 5 xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -1)
    [ -n "$found" ] && { echo "$found"; return; }
    sleep 0.1
  done
}

# Opens a dialog through the File menu ($1: the item's letter) and prints
# its window; a busy machine may lose the letter before the menu is open,
# so the menu is closed and asked again. Without the dialog the run ends.
menu_dialog() {
  local box
  for _ in 1 2 3; do
    xdotool windowfocus --sync "$window" key alt+f "$1"
    box=$(find_window "$2" 5)
    [ -n "$box" ] && { echo "$box"; return; }
    xdotool windowfocus --sync "$window" key Escape Escape
  done
  echo "no dialog \"$2\" after three tries" >&2
  exit 1
}
