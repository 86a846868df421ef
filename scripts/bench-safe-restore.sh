#!/usr/bin/env bash
# Times restoring 10,000 favourites over an existing tree under Wine, in one
# run of one exe: the safe tree replace (copies beside the targets, the old
# files to the Recycle Bin in one shell operation, then moves) against the
# plain folder-tree copy, alternating, three runs each; prints both medians
# and their ratio. A benchmark, not a test: scripts/test.sh does not run it.
#
#   bash scripts/bench-safe-restore.sh
#
# It builds bench-safe-restore.exe for the Wine this machine runs (build/win32
# or build/win64), keeps its own Wine prefix in
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
PREFIX=$BUILD/bench-wine
SCRATCH=$BUILD/bench-safe-restore
export BM_LOG_DIR=$BUILD/logs
mkdir -p "$BM_LOG_DIR"

cleanup() { bm_bench_wine_end "$SCRATCH"; }

main() {
  trap cleanup EXIT
  bm_ensure_tools
  local dir=$BUILD/win$BM_WINE_BITS
  bm_cross_build "$dir" "$BM_WINE_BITS" bench-safe-restore || bm_die "bench-safe-restore.exe could not be built"
  bm_bench_wine "$PREFIX" "$SCRATCH" || return 1

  bm_say "restoring 10,000 favourites under Wine"
  "$BM_WINE" "$dir/bench-safe-restore.exe" 'D:\bench' 2>&1 | iconv -f GBK -t UTF-8 -c
  local rc=${PIPESTATUS[0]}
  cleanup
  trap - EXIT
  return "$rc"
}

main "$@"; exit $?
