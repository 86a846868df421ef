#!/usr/bin/env bash
# Times restoring 10,000 favourites over an existing tree under Wine, in one
# run of one exe: the safe tree replace (copies beside the targets, the old
# files to the Recycle Bin in one shell operation, then moves) against the
# plain folder-tree copy, alternating, three runs each; prints both medians
# and their ratio. A benchmark, not a test: scripts/test.sh does not run it.
#
#   bash scripts/bench-safe-restore.sh
#
# It builds build/win32/bench-safe-restore.exe, keeps its own Wine prefix in
# build/bench-wine, and lays the trees out on a drive D: of its own. Wine's
# Recycle Bin is the trash of $HOME, so the run gets a home of its own too:
# the 30,000 favourites it sends to the bin are removed with it.
set -uo pipefail

BM_ROOT=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/lib/setup.sh
source "$BM_ROOT/scripts/lib/setup.sh"
# shellcheck source=scripts/lib/wine.sh
source "$BM_ROOT/scripts/lib/wine.sh"

BUILD=$BM_ROOT/build
WIN32=$BUILD/win32
PREFIX=$BUILD/bench-wine
SCRATCH=$BUILD/bench-safe-restore
export BM_LOG_DIR=$BUILD/logs
mkdir -p "$BM_LOG_DIR"

cleanup() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k 2>/dev/null || true; fi
  bm_stop_xvfb
  rm -rf "$SCRATCH"
}

main() {
  trap cleanup EXIT
  bm_ensure_tools
  bm_build "$WIN32" "-DCMAKE_TOOLCHAIN_FILE=$BM_ROOT/cmake/mingw-i686.cmake" bench-safe-restore ||
    bm_die "bench-safe-restore.exe could not be built"

  rm -rf "$SCRATCH"
  mkdir -p "$SCRATCH/home/.local/share" "$SCRATCH/d"
  export HOME=$SCRATCH/home XDG_DATA_HOME=$SCRATCH/home/.local/share

  bm_wine_env "$PREFIX"
  bm_start_xvfb || return 1
  # The prefix is made once and kept; its drive D: is this run's scratch folder.
  if [ ! -f "$PREFIX/system.reg" ]; then bm_make_prefix || return 1; fi
  bm_map_drive d "$SCRATCH/d"
  bm_wine_restart

  bm_say "restoring 10,000 favourites under Wine"
  wine "$WIN32/bench-safe-restore.exe" 'D:\bench' 2>&1 | iconv -f GBK -t UTF-8 -c
  local rc=${PIPESTATUS[0]}
  cleanup
  trap - EXIT
  return "$rc"
}

main "$@"; exit $?
