# Installs the Debian packages that building and testing Brantel needs,
# only those that are missing. Sourced by run.sh and test.sh.
BRANTEL_PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libgl-dev libglu1-mesa-dev libosmesa6-dev
  libjpeg62-turbo-dev libtiff-dev libcgal-dev
  qt6-base-dev libqt6opengl6-dev libqt6svg6 qt6-svg-dev fonts-liberation2 xvfb xauth xdotool
  x11-utils openbox poppler-utils imagemagick tesseract-ocr
  libxcb1-dev desktop-file-utils shared-mime-info
  clang lld libclang-rt-14-dev
)

brantel_install_deps() {
  local missing=()
  local pkg
  for pkg in "${BRANTEL_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing missing packages: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

# brantel_build <build folder> <cmake options...> [--target <target>...]
# Configures the build folder (the options apply on every call) and builds
# the given targets, or all of them.
brantel_build() {
  local dir=$1
  shift
  local options=() targets=()
  while [ $# -gt 0 ]; do
    if [ "$1" = "--target" ]; then
      shift
      targets=("$@")
      break
    fi
    options+=("$1")
    shift
  done
  local gen=()
  if command -v ninja >/dev/null 2>&1; then gen=(-G Ninja); fi
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S . -B "$dir" "${gen[@]}" "${options[@]}"
  else
    cmake -S . -B "$dir" "${options[@]}"
  fi
  cmake --build "$dir" -j "$(nproc)" ${targets[@]+--target "${targets[@]}"}
}
