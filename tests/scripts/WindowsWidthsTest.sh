#!/bin/bash
# The choice of Windows widths and Wine loader: what it makes of each value
# of TAVOK_WINDOWS_WIDTHS on this machine, that a probe that cannot run is
# an error rather than a skip, and that no other script or test names a
# loader. Usage: WindowsWidthsTest.sh (from any folder)
set -u
source_root=$(cd "$(dirname "$0")/../.." && pwd)
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

# Decides in a fresh shell: prints the widths and the loader, or fails.
decide() {
  env "$@" bash -c 'root=$1; source "$root/scripts/windows-widths.sh" &&
    decide_windows_widths && choose_wine_loader && echo "$TAVOK_WINDOWS_WIDTHS|$TAVOK_WINE|${WINELOADER:-}"' \
    _ "${root:-$source_root}" 2>&1
}
native=$(decide -u TAVOK_WINDOWS_WIDTHS) || fail "no decision on this machine: $native"
case $native in
"win32 win64|"*) ;;
"win64|/usr/lib/wine/wine64|/usr/lib/wine/wine64")
  out=$(decide TAVOK_WINDOWS_WIDTHS="win32 win64") && fail "win32 forced on a 64-bit-only machine: $out"
  [[ $out = *"runs 64-bit programs only"* ]] || fail "forcing win32 here says: $out" ;;
*) fail "unexpected decision: $native" ;;
esac
out=$(decide TAVOK_WINDOWS_WIDTHS=win64)
[ "$out" = "win64|/usr/lib/wine/wine64|/usr/lib/wine/wine64" ] || fail "win64 forced gives: $out"
out=$(decide TAVOK_WINDOWS_WIDTHS=win32) && fail "a bad width list was taken: $out"
[[ $out = *'not "win32"'* ]] || fail "a bad width list says: $out"

# A probe that cannot be written is an error that says so.
blocked=$(mktemp -d)
touch "$blocked/build"
out=$(root=$blocked decide -u TAVOK_WINDOWS_WIDTHS) && fail "no probe, yet a decision: $out"
rm -rf "$blocked"

out=$(env -u TAVOK_WINE TAVOK_DISPLAY=:0 "$source_root/scripts/wine-run" x.exe 2>&1) &&
  fail "wine-run ran without a loader"
[[ $out = *"no test display or Wine loader"* ]] || fail "wine-run without a loader says: $out"

named=$(grep -rln '/usr/bin/wine\|/usr/lib/wine' "$source_root/tests" "$source_root/scripts" |
  grep -v -e /scripts/windows-widths.sh -e /tests/scripts/WindowsWidthsTest.sh)
[ -z "$named" ] || fail "a loader named outside scripts/windows-widths.sh: $named"

[ $failures -eq 0 ] && echo "windows widths: decisions, errors and the one loader as expected"
exit $((failures > 0))
