# Sourced by scripts/setup and scripts/wine-env.sh: the one place that
# decides which Windows widths this machine runs and which Wine loader
# starts them. Some kernels run no 32-bit user code at all; there Wine's
# 32-bit loader cannot start, and the `wine` command picks it whenever
# wine32 is installed, so such a machine runs the 64-bit loader directly.
#
# Sets TAVOK_WINDOWS_WIDTHS ("win32 win64" or "win64") and, with
# choose_wine_loader, TAVOK_WINE. TAVOK_WINDOWS_WIDTHS=win64 set beforehand
# forces the 64-bit-only path on a machine that runs both.

# Runs a 32-bit x86 Linux program of 95 bytes that exits with 42: the
# smallest proof that the kernel runs 32-bit code, known before any
# package is installed. Prints "yes" or "no"; fails when neither is clear.
runs_32bit_code() {
  local probe status message
  mkdir -p "$root/build"
  probe=$(mktemp "$root/build/i386-probe-XXXXXX") || return 1
  # ELF header, one loadable segment at 0x08048000, then the code:
  # xor ebx,ebx; mov bl,42; mov eax,1 (exit); int 0x80.
  printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0' >"$probe"
  printf '\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0' >>"$probe"
  printf '\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\137\0\0\0\137\0\0\0\5\0\0\0\0\20\0\0' >>"$probe"
  printf '\61\333\263\52\270\1\0\0\0\315\200' >>"$probe"
  chmod +x "$probe"
  message=$(LC_ALL=C "$probe" 2>&1)
  status=$?
  rm -f "$probe"
  case "$status:$message" in
  42:) echo yes ;;
  126:*"Exec format error"*) echo no ;;
  *)
    echo "windows-widths: the 32-bit probe gave exit $status: $message" >&2
    return 1
    ;;
  esac
}

# Sets TAVOK_WINDOWS_WIDTHS once per run; an error when it cannot tell.
decide_windows_widths() {
  local runs
  case "${TAVOK_WINDOWS_WIDTHS:-}" in
  win64) ;;
  "" | "win32 win64")
    runs=$(runs_32bit_code) || return 1
    if [ "$runs" = yes ]; then
      TAVOK_WINDOWS_WIDTHS="win32 win64"
    elif [ -n "${TAVOK_WINDOWS_WIDTHS:-}" ]; then
      echo "windows-widths: win32 asked for, but this machine runs 64-bit programs only" >&2
      return 1
    else
      TAVOK_WINDOWS_WIDTHS=win64
    fi
    ;;
  *)
    echo "windows-widths: TAVOK_WINDOWS_WIDTHS must be \"win64\" or \"win32 win64\", not \"$TAVOK_WINDOWS_WIDTHS\"" >&2
    return 1
    ;;
  esac
  export TAVOK_WINDOWS_WIDTHS
}

# Whether this run tests the 32-bit build.
runs_win32() { [ "$TAVOK_WINDOWS_WIDTHS" = "win32 win64" ]; }

# The loader every Windows program of this run starts with (scripts/wine-run).
# Debian's `wine` command takes the 32-bit loader, which runs both widths;
# the 64-bit loader, called directly, runs 64-bit programs without it.
choose_wine_loader() {
  if runs_win32; then
    TAVOK_WINE=$(command -v wine) || {
      echo "windows-widths: no wine command" >&2
      return 1
    }
  else
    TAVOK_WINE=/usr/lib/wine/wine64
    export WINELOADER=$TAVOK_WINE
  fi
  [ -x "$TAVOK_WINE" ] || {
    echo "windows-widths: the Wine loader $TAVOK_WINE is missing" >&2
    return 1
  }
  export TAVOK_WINE
}

# The Windows build that carries the benchmarks: the product's 32-bit one
# where it runs, else the 64-bit one.
bench_preset() { if runs_win32; then echo win32; else echo win64; fi; }

# Configures a Windows preset with the benchmarks in the width that runs.
configure_windows() {
  local bench=OFF
  [ "$1" = "$(bench_preset)" ] && bench=ON
  cmake --preset "$1" -DTAVOK_BENCHMARKS=$bench
}
