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

# Debian packages the project needs; "name" or "name:arch".
BM_PACKAGES=(
  cmake ninja-build g++ libgtest-dev googletest file
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  wine wine32:i386
  xvfb xauth x11-utils
  locales fonts-wqy-microhei fonts-wine imagemagick
)

bm_package_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# Adds the i386 architecture (wine32) and installs every missing package with
# one apt-get update, then makes sure zh_CN.UTF-8 exists. Wine prefixes must
# be made after that locale exists, or they get code page 1252.
bm_ensure_tools() {
  command -v dpkg >/dev/null 2>&1 || bm_die "this is not a Debian system; install the packages by hand: ${BM_PACKAGES[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386 && [ "$(dpkg --print-architecture)" != i386 ]; then
    bm_say "adding the i386 architecture for wine32"
    bm_as_root dpkg --add-architecture i386
    BM_NEED_UPDATE=1
  fi
  local missing=() pkg
  for pkg in "${BM_PACKAGES[@]}"; do
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
  command -v i686-w64-mingw32-g++-posix >/dev/null 2>&1 ||
    bm_die "i686-w64-mingw32-g++-posix is missing after the install"
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
