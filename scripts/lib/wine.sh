# Shared by scripts/test.sh and scripts/start.sh: one Xvfb server, a Chinese
# Wine prefix with mapped drives and CJK fonts, and window screenshots.
# Source it after setup.sh.

# Every Wine call of a run uses this environment, and runs its programs with
# "$BM_WINE": wine32's loader in a win32 prefix, or, where this machine cannot
# execute 32-bit programs (bm_choose_wine), wine64's in a win64 prefix; Debian's
# "wine" starts wine32's whenever it is installed, runnable or not. The prefix
# must be made under zh_CN.UTF-8 so its ANSI code page is 936, the program's
# text code page.
bm_wine_env() {
  bm_choose_wine
  export WINEPREFIX=$1
  if [ "$BM_WINE_BITS" = 64 ]; then
    export WINEARCH=win64
    BM_WINE=/usr/lib/wine/wine64
    [ -x "$BM_WINE" ] || BM_WINE=wine
    # The loader Wine starts further programs with (the tests start the exe,
    # cmd and reg).
    export WINELOADER=$BM_WINE
  else
    export WINEARCH=win32
    BM_WINE=wine
  fi
  export WINEDEBUG=${BM_WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
}

# ---- Xvfb -------------------------------------------------------------------

# Starts one Xvfb for the run on the first free display from :91 (large
# enough for the program's widest window at 200%) and exports
# DISPLAY; bm_stop_xvfb ends it. A display another run takes at the same
# moment makes that Xvfb give up, and the next number is tried.
bm_start_xvfb() {
  local n=91 tries i
  for tries in $(seq 1 20); do
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1920x1200x24 -nolisten tcp -br >"${BM_LOG_DIR:-/tmp}/xvfb.log" 2>&1 &
    BM_XVFB_PID=$!
    for i in $(seq 1 100); do
      if [ -e "/tmp/.X11-unix/X$n" ]; then
        export DISPLAY=":$n"
        return 0
      fi
      kill -0 "$BM_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill "$BM_XVFB_PID" 2>/dev/null || true
    wait "$BM_XVFB_PID" 2>/dev/null || true
    BM_XVFB_PID=
    n=$((n + 1))
  done
  bm_die "no Xvfb display could be started (see ${BM_LOG_DIR:-/tmp}/xvfb.log)"
}

bm_stop_xvfb() {
  if [ -n "${BM_XVFB_PID:-}" ]; then
    kill "$BM_XVFB_PID" 2>/dev/null || true
    wait "$BM_XVFB_PID" 2>/dev/null || true
    BM_XVFB_PID=
  fi
}

# ---- the prefix -------------------------------------------------------------

# Imports registry text (REGEDIT4 lines, UTF-8, read from stdin) into the
# prefix in one regedit run; regedit reads the file as UTF-16 with a BOM.
bm_wine_reg_import() {
  local file="$WINEPREFIX/drive_c/bm-import.reg"
  { printf '\xff\xfe'; { printf 'Windows Registry Editor Version 5.00\r\n\r\n'; sed 's/$/\r/'; } | iconv -f UTF-8 -t UTF-16LE; } >"$file"
  "$BM_WINE" regedit /S 'C:\bm-import.reg' || bm_die "regedit could not import $file"
  rm -f "$file"
}

# The dialog and UI fonts Windows would use for Chinese, all shown with
# WenQuanYi Micro Hei, so every caption and dialog text has its glyphs. Wine
# draws its own window frames (Decorated=N), so the title bar is on screen
# without a window manager.
bm_wine_base_settings() {
  local face
  {
    echo '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]'
    for face in 微软雅黑 等线 "Microsoft YaHei UI" "Microsoft YaHei" SimSun "MS Shell Dlg" "MS Shell Dlg 2" Tahoma 宋体 新宋体 NSimSun; do
      printf '"%s"="WenQuanYi Micro Hei"\n' "$face"
    done
    echo
    echo '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]'
    echo '"Decorated"="N"'
  } | bm_wine_reg_import
}

# Makes a fresh prefix (removing an old one at the same place) and checks its
# ANSI code page. Needs DISPLAY (wineboot opens windows) and bm_wine_env.
bm_make_prefix() {
  bm_has_zh_locale || bm_die "the zh_CN.UTF-8 locale is missing: a prefix made now would use code page 1252"
  [ -n "${WINEPREFIX:-}" ] || bm_die "bm_make_prefix needs bm_wine_env first"
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  "$BM_WINE" wineboot -i >"${BM_LOG_DIR:-/tmp}/wineboot.log" 2>&1 || bm_die "wineboot -i failed (see ${BM_LOG_DIR:-/tmp}/wineboot.log)"
  wineserver -w
  # The glyphs of Wine's own caption buttons; this Wine does not look for
  # them where fonts-wine puts them, only in the prefix's Fonts folder.
  if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  fi
  bm_wine_base_settings
  bm_check_code_page
}

# The prefix's ANSI code page must be 936: the program's texts are GBK and
# every ANSI file call passes them unchanged.
bm_check_code_page() {
  local acp
  acp=$("$BM_WINE" reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v ACP 2>/dev/null | tr -d '\r' | awk '$1 == "ACP" { print $3 }')
  [ "$acp" = 936 ] || bm_die "the Wine prefix $WINEPREFIX has ANSI code page '${acp:-unknown}', not 936 (made without zh_CN.UTF-8?)"
}

# Maps a drive letter to a Unix folder: bm_map_drive d /some/folder. Files
# on it are reachable at once, but the shell (the folder chooser's "this
# computer") lists only the drives Wine's mount manager saw when it started:
# call bm_wine_restart after the last mapping.
bm_map_drive() {
  mkdir -p "$WINEPREFIX/dosdevices"
  ln -sfn "$2" "$WINEPREFIX/dosdevices/$1:"
}

# Ends the prefix's wineserver and its services; the next program starts them
# afresh, with the current drives and registry.
bm_wine_restart() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}

# Sets the display's DPI for programs started afterwards; the running
# wineserver is ended so the next program reads the new value.
bm_wine_set_dpi() {
  printf '[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:%08x\n' "$1" | bm_wine_reg_import
  bm_wine_restart
}

# The Windows path of a Unix file (through Wine's Z: drive).
bm_windows_path() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }

# ---- screenshots ---------------------------------------------------------------

# The X id of the largest mapped top-level window of an exe (Wine names the X
# window class after the exe), or nothing.
bm_find_x_window() {
  xwininfo -root -children 2>/dev/null |
    awk -v exe="\"$1\"" 'index($0, exe) { for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+\+/) { split($i, g, /[x+]/); print g[1] * g[2], $1 } }' |
    sort -n | tail -1 | awk '{ print $2 }'
}

# Starts an exe under Wine, waits for its window, saves a PNG of it and ends
# the program. bm_screenshot_exe UNIX_EXE OUT.PNG [SETTLE_SECONDS]
bm_screenshot_exe() {
  local exe=$1 out=$2 settle=${3:-2} name pid id i
  name=$(basename "$exe")
  mkdir -p "$(dirname "$out")"
  "$BM_WINE" "$exe" >"${BM_LOG_DIR:-/tmp}/screenshot-run.log" 2>&1 &
  pid=$!
  id=
  for i in $(seq 1 300); do
    id=$(bm_find_x_window "$name")
    [ -n "$id" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$id" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    echo "no window of $name appeared" >&2
    return 1
  fi
  # Let the window paint its controls before the capture.
  sleep "$settle"
  id=$(bm_find_x_window "$name")
  import -window "$id" "$out" 2>/dev/null
  local rc=$?
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  return $rc
}

# ---- benchmarks ---------------------------------------------------------------

# A benchmark's Wine: the prefix PREFIX (made once per kind and kept), a home
# of its own under SCRATCH (Wine's Recycle Bin is the trash of $HOME, and a
# benchmark fills it) and SCRATCH/d as drive D:, under one Xvfb.
# bm_bench_wine PREFIX SCRATCH; bm_bench_wine_end SCRATCH removes it all again.
bm_bench_wine() {
  local prefix=$1 scratch=$2
  rm -rf "$scratch"
  mkdir -p "$scratch/home/.local/share" "$scratch/d"
  export HOME=$scratch/home XDG_DATA_HOME=$scratch/home/.local/share
  bm_wine_env "$prefix"
  bm_start_xvfb || return 1
  if [ "$(cat "$prefix/.bm-bench-ready" 2>/dev/null)" != "$WINEARCH" ]; then
    bm_make_prefix || return 1
    echo "$WINEARCH" >"$prefix/.bm-bench-ready"
  fi
  bm_map_drive d "$scratch/d"
  bm_wine_restart
}

bm_bench_wine_end() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k 2>/dev/null || true; fi
  bm_stop_xvfb
  rm -rf "$1"
}
