#!/usr/bin/env bash
# The project's test command: installs what is missing, builds natively and for
# 32-bit Windows, runs the unit and contract tests on the simulated Windows,
# then, in a throwaway Chinese Wine prefix under one Xvfb, the contract tests
# on the real Win32 layer, the end-to-end scenarios against the real program,
# and screenshots of the main window at 100% and 200%.
#
# The Wine stages run the 32-bit builds under wine32. A machine that cannot
# execute 32-bit programs runs them as x86_64 builds of the same sources
# under wine64 in a win64 prefix instead (bm_choose_wine), and says so; the
# 32-bit exe is built and checked there all the same.
#
# Ends with a line "N passed, N failed" (all suites together) and a non-zero
# exit code when anything failed or did not run.
set -uo pipefail

BM_ROOT=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/lib/setup.sh
source "$BM_ROOT/scripts/lib/setup.sh"
# shellcheck source=scripts/lib/wine.sh
source "$BM_ROOT/scripts/lib/wine.sh"

BUILD=$BM_ROOT/build
NATIVE=$BUILD/native
WIN32=$BUILD/win32
WIN64=$BUILD/win64
PREFIX=$BUILD/wine-test
DRIVES=$BUILD/wine-test-drives
SHOTS=$BUILD/screenshots
export BM_LOG_DIR=$BUILD/logs
mkdir -p "$BM_LOG_DIR"

TOTAL_PASSED=0
TOTAL_FAILED=0
TOTAL_SKIPPED=0
PROBLEMS=()
STAGE_LINES=()

# ---- bookkeeping ----------------------------------------------------------------

problem() {
  PROBLEMS+=("$1")
  printf 'PROBLEM: %s\n' "$1" >&2
}

# Runs a stage and records how long it took: stage "name" command...
stage() {
  local name=$1 start=$SECONDS rc
  shift
  bm_say "stage: $name"
  "$@"
  rc=$?
  STAGE_LINES+=("$(printf '%-34s %4ds  %s' "$name" $((SECONDS - start)) "$([ $rc = 0 ] && echo ok || echo FAILED)")")
  return $rc
}

# Adds a gtest run's counts from its output; a run without gtest's closing
# lines (a crash, a hang, a missing binary) counts as a failure.
count_gtest() {
  local suite=$1 log=$2 passed failed skipped
  passed=$(grep -aE '^\[  PASSED  \] [0-9]+ tests?\.' "$log" | tail -1 | grep -oE '[0-9]+' | head -1)
  failed=$(grep -aE '^\[  FAILED  \] [0-9]+ tests?, listed below' "$log" | tail -1 | grep -oE '[0-9]+' | head -1)
  skipped=$(grep -aE '^\[  SKIPPED \] [0-9]+ tests?, listed below' "$log" | tail -1 | grep -oE '[0-9]+' | head -1)
  TOTAL_SKIPPED=$((TOTAL_SKIPPED + ${skipped:-0}))
  if [ -z "$passed" ]; then
    problem "$suite did not finish (no gtest summary in $log)"
    TOTAL_FAILED=$((TOTAL_FAILED + ${failed:-1}))
    return 1
  fi
  TOTAL_PASSED=$((TOTAL_PASSED + passed))
  TOTAL_FAILED=$((TOTAL_FAILED + ${failed:-0}))
  [ "${failed:-0}" = 0 ] || problem "$suite: $failed failed"
  [ "${failed:-0}" = 0 ]
}

# Runs one gtest binary (natively or under Wine) with a bound on its time; the
# texts of the program are GBK, shown here as UTF-8.
run_gtest() {
  local suite=$1 limit=$2
  shift 2
  local log=$BM_LOG_DIR/$suite.log
  timeout --kill-after=10 "$limit" "$@" 2>&1 | iconv -f GBK -t UTF-8 -c | tee "$log"
  local rc=${PIPESTATUS[0]}
  [ "$rc" = 124 ] && problem "$suite was stopped after ${limit}s"
  count_gtest "$suite" "$log" && [ "$rc" = 0 ]
}

need_binary() {
  [ -f "$1" ] && return 0
  problem "$(basename "$1") was not built, so its tests did not run"
  TOTAL_FAILED=$((TOTAL_FAILED + 1))
  return 1
}

# ---- stages ---------------------------------------------------------------------------

native_build() { bm_build "$NATIVE" "" ; }

native_tests() {
  local ok=0
  need_binary "$NATIVE/unit-tests" && { run_gtest unit-tests 600 "$NATIVE/unit-tests" || ok=1; } || ok=1
  need_binary "$NATIVE/contract-tests" && { run_gtest contract-tests-sim 600 "$NATIVE/contract-tests" || ok=1; } || ok=1
  return $ok
}

cross_build() { bm_cross_build "$WIN32" 32; }

# Where wine32 cannot run, the Wine stages run this build instead.
cross_build_64() { bm_cross_build "$WIN64" 64; }

# The product is one portable 32-bit GUI exe: nothing but system DLLs.
check_exe() {
  local exe=$WIN32/bookmark-backup.exe kind dlls bad=()
  need_binary "$exe" || return 1
  kind=$(file -b "$exe")
  case "$kind" in
    "PE32 executable (GUI) Intel 80386"*) echo "bookmark-backup.exe: $kind" ;;
    *) problem "bookmark-backup.exe is '$kind', not a PE32 GUI exe for Intel 80386"; return 1 ;;
  esac
  dlls=$(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ { print $3 }')
  echo "imports: $(echo "$dlls" | tr '\n' ' ')"
  local dll
  for dll in $dlls; do
    case "$(echo "$dll" | tr '[:upper:]' '[:lower:]')" in
      kernel32.dll | user32.dll | gdi32.dll | advapi32.dll | shell32.dll | shlwapi.dll | ole32.dll | oleaut32.dll | \
        comctl32.dll | comdlg32.dll | msvcrt.dll | ntdll.dll | uxtheme.dll | version.dll | imm32.dll) ;;
      *) bad+=("$dll") ;;
    esac
  done
  if [ "${#bad[@]}" -gt 0 ]; then
    problem "bookmark-backup.exe imports DLLs that are not part of Windows: ${bad[*]}"
    return 1
  fi
}

cleanup() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k 2>/dev/null || true; fi
  bm_stop_xvfb
  if [ -n "${RO_MOUNTED:-}" ]; then umount "$DRIVES/readonly" 2>/dev/null || true; fi
}

# The prefix and its drives: D: and E: for the scenarios' backups and install
# folders, G: whose folder has gone, F: on a read-only mount when this machine
# lets us mount one. Root writes through Unix permissions and Wine's read-only
# attribute alike, so only these really refuse a write.
wine_setup() {
  bm_wine_env "$PREFIX"
  bm_start_xvfb || return 1
  bm_make_prefix || return 1
  # A run that was stopped may have left its read-only mount behind.
  umount "$DRIVES/readonly" 2>/dev/null || true
  RO_MOUNTED=
  rm -rf "$DRIVES"
  mkdir -p "$DRIVES/d" "$DRIVES/e" "$DRIVES/readonly"
  bm_map_drive d "$DRIVES/d"
  bm_map_drive e "$DRIVES/e"
  bm_map_drive g "$DRIVES/gone"
  export BM_GONE_DRIVE=G
  unset BM_READONLY_DRIVE
  if mount -t tmpfs -o ro,size=64k tmpfs "$DRIVES/readonly" 2>/dev/null; then
    RO_MOUNTED=1
    bm_map_drive f "$DRIVES/readonly"
    export BM_READONLY_DRIVE=F
  else
    echo "no read-only mount on this machine: that scenario is skipped"
  fi
  bm_wine_restart
  echo "prefix $WINEPREFIX, code page 936, DISPLAY $DISPLAY"
}

wine_contract() {
  need_binary "$WIN32/contract-tests.exe" || return 1
  run_gtest contract-tests-wine 600 "$BM_WINE" "$WINE_BUILD/contract-tests.exe"
}

wine_e2e() {
  need_binary "$WINE_BUILD/e2e-tests.exe" || return 1
  need_binary "$WINE_BUILD/bookmark-backup.exe" || return 1
  rm -rf "$BUILD/e2e-failures"
  mkdir -p "$BUILD/e2e-failures"
  BM_SCRATCH_DRIVES=1 BM_EXE=$(bm_windows_path "$WINE_BUILD/bookmark-backup.exe") \
    BM_E2E_OUT=$(bm_windows_path "$BUILD/e2e-failures") \
    run_gtest e2e-tests 900 "$BM_WINE" "$WINE_BUILD/e2e-tests.exe"
  local rc=$? shot
  for shot in "$BUILD"/e2e-failures/*.bmp; do
    [ -e "$shot" ] || continue
    convert "$shot" "${shot%.bmp}.png" 2>/dev/null && rm -f "$shot"
  done
  [ -n "$(ls -A "$BUILD/e2e-failures")" ] && echo "screenshots of failed scenarios: $BUILD/e2e-failures"
  return $rc
}

# FirefoxFolderWindow over the main window, opened by its scenario, which
# saves the screen; trimmed to the windows. firefox_window_shot PERCENT
firefox_window_shot() {
  local bmp=$SHOTS/firefox-window-$1.bmp
  BM_SCRATCH_DRIVES=1 BM_EXE=$(bm_windows_path "$WINE_BUILD/bookmark-backup.exe") BM_SHOT=$(bm_windows_path "$bmp") \
    timeout 120 "$BM_WINE" "$WINE_BUILD/e2e-tests.exe" --gtest_filter=Firefox.TheFolderWindowShowsWholeOverTheMainWindow \
    >"$BM_LOG_DIR/firefox-window-$1.log" 2>&1
  [ -f "$bmp" ] && convert "$bmp" -trim +repage "${bmp%.bmp}.png" && rm -f "$bmp"
}

screenshots() {
  local exe=$WINE_BUILD/bookmark-backup.exe
  need_binary "$exe" || return 1
  rm -rf "$SHOTS"
  mkdir -p "$SHOTS"
  local ok=0
  bm_screenshot_exe "$exe" "$SHOTS/main-window-100.png" || { problem "no screenshot at 100%"; ok=1; }
  firefox_window_shot 100 || { problem "no screenshot of the Firefox window at 100%"; ok=1; }
  bm_wine_set_dpi 192
  bm_screenshot_exe "$exe" "$SHOTS/main-window-200.png" || { problem "no screenshot at 200%"; ok=1; }
  firefox_window_shot 200 || { problem "no screenshot of the Firefox window at 200%"; ok=1; }
  bm_wine_set_dpi 96
  ls -l "$SHOTS"
  return $ok
}

# ---- the run ----------------------------------------------------------------------------

main() {
  trap cleanup EXIT
  local run_start=$SECONDS
  stage "install missing tools" bm_ensure_tools || bm_die "the tools could not be installed"

  stage "native build" native_build || problem "the native build failed"
  stage "unit + contract tests (sim)" native_tests

  if stage "cross build (win32)" cross_build; then
    stage "check the exe" check_exe
  else
    problem "the Windows build failed"
  fi
  local on=wine$BM_WINE_BITS
  WINE_BUILD=$WIN32
  if [ "$BM_WINE_BITS" = 64 ]; then
    WINE_BUILD=$WIN64
    stage "cross build (win64)" cross_build_64 || problem "the 64-bit Windows build for wine64 failed"
  fi

  if stage "wine prefix + Xvfb (win$BM_WINE_BITS)" wine_setup; then
    stage "contract tests ($on)" wine_contract
    stage "end-to-end scenarios ($on)" wine_e2e
    stage "screenshots 100% / 200% ($on)" screenshots
  else
    problem "the Wine prefix could not be made: contract-tests.exe and e2e-tests.exe did not run"
    TOTAL_FAILED=$((TOTAL_FAILED + 1))
  fi
  cleanup
  trap - EXIT

  echo
  bm_say "summary"
  printf '%s\n' "${STAGE_LINES[@]}"
  printf '%-34s %4ds\n' "total" $((SECONDS - run_start))
  [ -d "$SHOTS" ] && echo "screenshots: $SHOTS"
  if [ "$BM_WINE_BITS" = 64 ]; then
    echo "NOTE: this machine cannot execute 32-bit programs: the Wine stages ran x86_64 builds under wine64;"
    echo "      the 32-bit exe was built and checked, not run"
  fi
  if [ "${#PROBLEMS[@]}" -gt 0 ]; then
    echo "problems:"
    printf '  - %s\n' "${PROBLEMS[@]}"
  fi
  [ "$TOTAL_SKIPPED" -gt 0 ] && echo "skipped: $TOTAL_SKIPPED (see the logs in $BM_LOG_DIR)"
  echo "$TOTAL_PASSED passed, $TOTAL_FAILED failed"
  [ "${#PROBLEMS[@]}" = 0 ] && [ "$TOTAL_FAILED" = 0 ]
}

main "$@"; exit $?
