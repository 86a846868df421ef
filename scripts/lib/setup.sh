# Shared by scripts/test.sh and scripts/start.sh: messages, and installing
# what the build and the Wine runs need, only when it is missing.
# Source it; it defines functions and sets nothing else.

bm_say() { printf '== %s\n' "$*"; }
bm_die() { printf 'FAILED: %s\n' "$*" >&2; exit 1; }

# Runs a command as root: directly when we are root, through sudo otherwise.
bm_as_root() {
  if [ "$(id -u)" = 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    bm_die "need root to run: $*"
  fi
}

# Debian packages the project needs; "name" or "name:arch". The 32-bit
# toolchain builds the product on every machine; which Wine runs the Windows
# programs of the tests depends on the machine (bm_choose_wine).
BM_PACKAGES=(
  cmake ninja-build g++ libgtest-dev googletest file
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  xvfb xauth x11-utils
  locales fonts-wqy-microhei fonts-wine imagemagick
)
BM_PACKAGES_WINE32=(wine wine32:i386)
BM_PACKAGES_WINE64=(wine wine64 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64)

# Whether this machine executes 32-bit x86 Linux programs, as wine32 is one:
# runs a 32-bit ELF program of 96 bytes that exits with status 42. A kernel
# without 32-bit support refuses it ("Exec format error").
bm_runs_i386() {
  local probe status
  probe=$(mktemp "${TMPDIR:-/tmp}/bm-i386-probe.XXXXXX") || return 1
  # ELF header (52 bytes), one loadable segment (32 bytes) holding the file
  # at 0x08048000, then the code at 0x08048054: mov ebx,42; mov eax,1; int 0x80.
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'\
'\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'\
'\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'\
'\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'\
'\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'\
'\xbb\x2a\x00\x00\x00\xb8\x01\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null
  status=$?
  rm -f "$probe"
  [ "$status" = 42 ]
}

# Decides once per run which Wine runs the Windows programs of the tests and
# the demo, and sets BM_WINE_BITS:
#   32: wine32 runs the i686 builds, as the product runs;
#   64: this machine cannot execute 32-bit programs, so wine64 runs x86_64
#       builds of the same sources.
# BM_WINE_BITS=32 or 64 in the environment makes the choice instead (64
# rehearses the fallback on a machine that runs both).
bm_choose_wine() {
  [ -n "${BM_WINE_CHOSEN:-}" ] && return 0
  local why
  case "${BM_WINE_BITS:-}" in
    32) ;;
    64) why="BM_WINE_BITS=64 is set" ;;
    "")
      if bm_runs_i386; then
        BM_WINE_BITS=32
      else
        BM_WINE_BITS=64
        why="this machine cannot execute 32-bit programs (a tiny 32-bit probe program did not run), so wine32 cannot run"
      fi
      ;;
    *) bm_die "BM_WINE_BITS is '$BM_WINE_BITS': 32, 64 or unset" ;;
  esac
  BM_WINE_CHOSEN=1
  if [ "$BM_WINE_BITS" = 64 ]; then
    [ "$(uname -m)" = x86_64 ] || bm_die "wine64 needs an x86_64 machine; this one is $(uname -m)"
    printf '!! %s\n' \
      "WINE64 FALLBACK: $why." \
      "Wine runs x86_64 builds of the same sources under wine64, in a win64 prefix." \
      "The product is still the 32-bit exe: only what runs under Wine changes."
  fi
}

bm_package_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# Adds the i386 architecture (wine32) and installs every missing package with
# one apt-get update, then makes sure zh_CN.UTF-8 exists. Wine prefixes must
# be made after that locale exists, or they get code page 1252.
bm_ensure_tools() {
  bm_choose_wine
  local packages=("${BM_PACKAGES[@]}")
  if [ "$BM_WINE_BITS" = 32 ]; then packages+=("${BM_PACKAGES_WINE32[@]}"); else packages+=("${BM_PACKAGES_WINE64[@]}"); fi
  command -v dpkg >/dev/null 2>&1 || bm_die "this is not a Debian system; install the packages by hand: ${packages[*]}"
  if [ "$BM_WINE_BITS" = 32 ] && ! dpkg --print-foreign-architectures | grep -qx i386 &&
    [ "$(dpkg --print-architecture)" != i386 ]; then
    bm_say "adding the i386 architecture for wine32"
    bm_as_root dpkg --add-architecture i386
    BM_NEED_UPDATE=1
  fi
  local missing=() pkg
  for pkg in "${packages[@]}"; do
    bm_package_installed "$pkg" || missing+=("$pkg")
  done
  if [ "${#missing[@]}" -gt 0 ] || [ -n "${BM_NEED_UPDATE:-}" ]; then
    bm_say "installing: ${missing[*]:-(package lists only)}"
    bm_as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q ||
      bm_die "apt-get update failed"
    if [ "${#missing[@]}" -gt 0 ]; then
      bm_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" ||
        bm_die "apt-get install failed: ${missing[*]}"
    fi
  fi
  bm_ensure_zh_locale
  local compiler
  for compiler in i686-w64-mingw32-g++-posix $([ "$BM_WINE_BITS" = 64 ] && echo x86_64-w64-mingw32-g++-posix); do
    command -v "$compiler" >/dev/null 2>&1 || bm_die "$compiler is missing after the install"
  done
}

bm_has_zh_locale() { locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; }

bm_ensure_zh_locale() {
  bm_has_zh_locale && return 0
  bm_say "generating the zh_CN.UTF-8 locale"
  if grep -qE '^[# ]*zh_CN.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    bm_as_root sed -i -E 's/^[# ]*(zh_CN.UTF-8 UTF-8)/\1/' /etc/locale.gen
  else
    echo 'zh_CN.UTF-8 UTF-8' | bm_as_root tee -a /etc/locale.gen >/dev/null
  fi
  bm_as_root locale-gen >/dev/null || bm_die "locale-gen failed"
  bm_has_zh_locale || bm_die "zh_CN.UTF-8 is still missing after locale-gen"
}

# Configures (once) and builds the given targets in a build folder.
#   bm_build DIR "cmake args..." target...
bm_build() {
  local dir=$1 args=$2
  shift 2
  mkdir -p "$dir"
  if [ ! -f "$dir/build.ninja" ]; then
    # shellcheck disable=SC2086
    cmake -S "$BM_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release $args >"$dir/configure.log" 2>&1 || {
      cat "$dir/configure.log"
      return 1
    }
  fi
  ninja -C "$dir" -j2 "$@"
}

# Builds for Windows with mingw-w64: bm_cross_build DIR 32|64 target...
bm_cross_build() {
  local dir=$1 toolchain=mingw-i686
  [ "$2" = 64 ] && toolchain=mingw-x86_64
  shift 2
  bm_build "$dir" "-DCMAKE_TOOLCHAIN_FILE=$BM_ROOT/cmake/$toolchain.cmake" "$@"
}
