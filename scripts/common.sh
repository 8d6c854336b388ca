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
  libxlsxwriter-dev python3-xlrd python3-openpyxl
  curl  # the baseline of the upload benchmark
)

vcm_sudo() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

vcm_install_packages() {
  local missing=()
  for p in "${VCM_PACKAGES[@]}"; do
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
