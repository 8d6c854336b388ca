# Shared by scripts/demo, scripts/test and scripts/screenshots: install what is missing
# and build. Sourced, not run.

VCM_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
VCM_BUILD="${VCM_BUILD:-$VCM_ROOT/build}"

VCM_PACKAGES=(
  cmake ninja-build g++ ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl1-mesa-dev libx11-dev
  libmariadb-dev libcurl4-openssl-dev libgtest-dev libbenchmark-dev
  mariadb-server python3 python3-pyftpdlib python3-openssl openssl fonts-nanum imagemagick xvfb xauth
  libssl-dev  # the pin check in the TLS handshake of the curl channels
  tshark      # the capture test of the TLS channels
  xdotool     # the login window test finds the program's window on Xvfb
  libxlsxwriter-dev python3-xlrd python3-openpyxl
  curl  # the baseline of the upload benchmark
)

# The Windows build (scripts/test --windows): the cross compiler, Wine to run the tests,
# NSIS for the installer, fonts for Qt's offscreen platform and the Korean screens, and
# xdotool for the installer test, which finds the installed program's windows on Xvfb.
VCM_WINDOWS_PACKAGES=(
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 nsis
  fonts-dejavu-core fonts-nanum xvfb xauth xdotool
)

vcm_sudo() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

vcm_install_packages() {
  local missing=()
  for p in "${VCM_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    vcm_sudo apt-get update -qq
    vcm_sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

vcm_build() {
  local type="${1:-Release}"
  # Further arguments are more cache settings for cmake.
  cmake -S "$VCM_ROOT" -B "$VCM_BUILD" -G Ninja -DCMAKE_BUILD_TYPE="$type" "${@:2}"
  cmake --build "$VCM_BUILD" -j"$(nproc)"
}

# Unpacks the Windows cross-build kit (the tarball in VCM_WINSDK_TARBALL, or shared/winsdk
# beside the checkout, or beside the main checkout of a git worktree) once per kit version
# into the cache, and prints its folder.
vcm_winsdk() {
  local name=winsdk-x86_64-w64-mingw32.tar.xz tarball="${VCM_WINSDK_TARBALL:-}"
  if [ -z "$tarball" ]; then
    local common
    common="$(git -C "$VCM_ROOT" rev-parse --path-format=absolute --git-common-dir 2>/dev/null || true)"
    for candidate in "$VCM_ROOT/../shared/winsdk/$name" ${common:+"$common/../../shared/winsdk/$name"}; do
      if [ -f "$candidate" ]; then tarball="$candidate"; break; fi
    done
  fi
  [ -f "$tarball" ] || { echo "No Windows kit $name in ../shared/winsdk (set VCM_WINSDK_TARBALL)" >&2; return 1; }
  local cache="${XDG_CACHE_HOME:-$HOME/.cache}/vcm-winsdk"
  local key
  key="$(sha1sum "$tarball" | cut -c1-12)"
  local dir="$cache/$key/winsdk-x86_64-w64-mingw32"
  if [ ! -f "$dir/toolchain-mingw64.cmake" ]; then
    local work="$cache/unpacking-$$"
    rm -rf "$work" && mkdir -p "$work"
    tar -C "$work" -xJf "$tarball"
    mkdir -p "$cache/$key"
    mv "$work/winsdk-x86_64-w64-mingw32" "$dir" 2>/dev/null || true  # a parallel run may have won
    rm -rf "$work"
  fi
  printf '%s\n' "$dir"
}
