#!/usr/bin/env bash
# Builds bookmark-backup.exe and starts it.
#
# On Linux it runs under Wine in a demo prefix of its own (build/demo-wine,
# made once, Chinese locale and fonts) whose profile holds small sample
# bookmark files of Chrome, Edge and QQ Browser and whose drive D: is
# build/demo-d: check 备份 and press 谷歌浏览器, and the backup appears in
# build/demo-d/浏览器书签备份<date>/谷歌浏览器/. Without a display it runs under
# Xvfb, saves a screenshot to build/screenshots/start.png and closes again.
# On a machine that cannot execute 32-bit programs (no wine32) it builds and
# starts an x86_64 build of the exe under wine64 instead, and says so.
#
# On Windows (MINGW/MSYS/CYGWIN shells), or when an exe is given, it only
# starts that exe: bash scripts/start.sh [path/to/bookmark-backup.exe]
set -uo pipefail

BM_ROOT=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/lib/setup.sh
source "$BM_ROOT/scripts/lib/setup.sh"
# shellcheck source=scripts/lib/wine.sh
source "$BM_ROOT/scripts/lib/wine.sh"

BUILD=$BM_ROOT/build
PREFIX=$BUILD/demo-wine
DEMO_D=$BUILD/demo-d
export BM_LOG_DIR=$BUILD/logs
mkdir -p "$BM_LOG_DIR"

on_windows() {
  case "$(uname -s)" in MINGW* | MSYS* | CYGWIN*) return 0 ;; esac
  return 1
}

# Windows: nothing to set up, the exe is the whole program.
start_on_windows() {
  local exe=${1:-$BUILD/win32/bookmark-backup.exe}
  [ -f "$exe" ] || bm_die "$exe does not exist: build it on Linux with bash scripts/start.sh, or pass the exe"
  bm_say "starting $exe"
  "$exe" &
  disown
}

# The user's profile folder inside the prefix (Wine names it after the Unix user).
profile_dir() {
  local users=$WINEPREFIX/drive_c/users name
  name=$(id -un)
  if [ -d "$users/$name" ]; then
    echo "$users/$name"
  else
    find "$users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -1
  fi
}

sample_bookmarks() {
  local browser=$1
  cat <<EOF
{
   "checksum": "00000000000000000000000000000000",
   "roots": {
      "bookmark_bar": {
         "children": [ {
            "name": "$browser 示例书签",
            "type": "url",
            "url": "https://example.com/$browser"
         } ],
         "name": "书签栏",
         "type": "folder"
      }
   },
   "version": 1
}
EOF
}

# Small sample files where Chrome, Edge and QQ Browser keep their bookmarks.
lay_out_samples() {
  local profile local_data
  profile=$(profile_dir)
  [ -n "$profile" ] || bm_die "the demo prefix has no user profile folder"
  local_data=$profile/AppData/Local
  mkdir -p "$local_data/Google/Chrome/User Data/Default" "$local_data/Microsoft/Edge/User Data/Default" \
    "$local_data/Tencent/QQBrowser/User Data/Default"
  sample_bookmarks Chrome >"$local_data/Google/Chrome/User Data/Default/Bookmarks"
  sample_bookmarks Chrome >"$local_data/Google/Chrome/User Data/Default/Bookmarks.bak"
  sample_bookmarks Edge >"$local_data/Microsoft/Edge/User Data/Default/Bookmarks"
  sample_bookmarks QQ >"$local_data/Tencent/QQBrowser/User Data/Default/Bookmarks_01"
  echo "sample bookmarks of Chrome, Edge and QQ Browser in $local_data"
}

# Made once per kind of prefix: the marker names the kind (win32 or win64).
demo_prefix() {
  bm_wine_env "$PREFIX"
  if [ "$(cat "$PREFIX/.bm-demo-ready" 2>/dev/null)" != "$WINEARCH" ]; then
    bm_say "making the demo Wine prefix $PREFIX ($WINEARCH, once)"
    bm_make_prefix
    echo "$WINEARCH" >"$PREFIX/.bm-demo-ready"
  else
    bm_check_code_page
  fi
  mkdir -p "$DEMO_D"
  bm_map_drive d "$DEMO_D"
  bm_wine_restart
  lay_out_samples
}

# Wine draws its own window frame only where no window manager does (Xvfb).
set_frame() {
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Decorated"="%s"\n' "$1" | bm_wine_reg_import
}

start_on_linux() {
  local exe=${1:-}
  bm_ensure_tools
  if [ -z "$exe" ]; then
    local dir=$BUILD/win$BM_WINE_BITS
    if [ "$BM_WINE_BITS" = 64 ]; then
      bm_say "building bookmark-backup.exe for x86_64 in $dir: wine64 runs it here (the product is the 32-bit build)"
    else
      bm_say "building bookmark-backup.exe"
    fi
    bm_cross_build "$dir" "$BM_WINE_BITS" bookmark-backup || bm_die "the build failed"
    exe=$dir/bookmark-backup.exe
  fi
  [ -f "$exe" ] || bm_die "no such exe: $exe"
  if [ "$BM_WINE_BITS" = 64 ] && file -b "$exe" | grep -q '^PE32 '; then
    bm_die "$exe is a 32-bit exe, which wine64 cannot run on this machine; start.sh without an exe builds a 64-bit one"
  fi

  local headless=
  if [ -z "${DISPLAY:-}" ]; then
    headless=1
    bm_start_xvfb
    trap 'wineserver -k 2>/dev/null; bm_stop_xvfb' EXIT
  fi
  demo_prefix
  local backup
  backup="$DEMO_D/浏览器书签备份$(date +%Y年%-m月%-d日)/谷歌浏览器/Bookmarks"

  if [ -n "$headless" ]; then
    set_frame N
    local shot=$BUILD/screenshots/start.png
    bm_say "no display: starting the program under Xvfb for a screenshot"
    bm_screenshot_exe "$exe" "$shot" || bm_die "the program's window did not appear"
    wineserver -k 2>/dev/null || true
    bm_say "screenshot of the main window: $shot"
    echo "with a display, check 备份 and press 谷歌浏览器: the backup appears as $backup"
  else
    set_frame Y
    bm_say "starting $exe under $BM_WINE (prefix $PREFIX, D: = $DEMO_D)"
    echo "check 备份 and press 谷歌浏览器: the backup appears as $backup"
    "$BM_WINE" "$exe"
  fi
}

if on_windows; then
  start_on_windows "$@"
else
  start_on_linux "$@"
fi
