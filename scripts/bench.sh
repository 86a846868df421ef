#!/usr/bin/env bash
# Times the one-click backup of a heavy profile under Wine: from the press of
# 一键备份书签 to its notice, against a bare loop of CopyFileA over the same
# files, alternating, three runs each, in one prefix and one run; prints both
# medians and their ratio (goal: at most 1.10). A benchmark, not a test:
# scripts/test.sh does not run it.
#
#   bash scripts/bench.sh
#
# The heavy profile: 10,000 small IE favourites in 100 folders, three Firefox
# profiles with a 100 MB places.sqlite each, and Chrome's two files of a few
# MB. It keeps its own Wine prefix (build/bench-wine), a drive D: and a home of
# its own (Wine's Recycle Bin is the trash of $HOME), removed afterwards.
set -uo pipefail

BM_ROOT=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/lib/setup.sh
source "$BM_ROOT/scripts/lib/setup.sh"
# shellcheck source=scripts/lib/wine.sh
source "$BM_ROOT/scripts/lib/wine.sh"

BUILD=$BM_ROOT/build
PREFIX=$BUILD/bench-wine
SCRATCH=$BUILD/bench-oneclick
export BM_LOG_DIR=$BUILD/logs
mkdir -p "$BM_LOG_DIR"

cleanup() { bm_bench_wine_end "$SCRATCH"; }

main() {
  trap cleanup EXIT
  bm_ensure_tools
  local dir=$BUILD/win$BM_WINE_BITS
  bm_cross_build "$dir" "$BM_WINE_BITS" bookmark-backup bench-oneclick || bm_die "the build failed"
  bm_bench_wine "$PREFIX" "$SCRATCH" || return 1
  # The profile of the previous run goes; the benchmark lays its own.
  rm -rf "$WINEPREFIX"/drive_c/users/*/Favorites/bench* "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Mozilla \
    "$WINEPREFIX"/drive_c/users/*/AppData/Local/Google

  bm_say "one-click backup of a heavy profile under Wine (win$BM_WINE_BITS)"
  BM_EXE=$(bm_windows_path "$dir/bookmark-backup.exe") "$BM_WINE" "$dir/bench-oneclick.exe" 2>&1 |
    iconv -f GBK -t UTF-8 -c
  local rc=${PIPESTATUS[0]}
  cleanup
  trap - EXIT
  return "$rc"
}

main "$@"; exit $?
