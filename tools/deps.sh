# The Debian packages the game and its tests need; sourced by play.sh and test.sh.
QUORVEL_PACKAGES=(
  build-essential cmake pkg-config
  libsdl2-dev libgl-dev libgl1-mesa-dri libx11-dev libpng-dev libjpeg-dev
  libgtest-dev
  xvfb xauth xfonts-base xdotool x11-utils imagemagick
)
# Only the tests want these: the fuzz targets (clang's libFuzzer and sanitizer runtimes, the
# symbolizer for their reports) and a window manager for the end-to-end run.
QUORVEL_TEST_PACKAGES=(
  clang libclang-rt-14-dev llvm-14
  openbox
)

# install_deps [PACKAGE...]: the game's packages and these, those missing installed.
install_deps() {
  local missing=()
  local p
  for p in "${QUORVEL_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}
