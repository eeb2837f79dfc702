# Sourced by ./run and ./test: installs what the build needs, then configures and builds a folder.
# Debian packages only; as root they are installed, otherwise the exact command is printed.

# qt6-translations-l10n: Qt's own French texts, for the buttons of the message and input boxes.
# poppler-utils: pdftotext, with which the tests read the printed pages back.
# qt6-charts-dev: the dashboard's bar chart; its CMake files also need libqt6opengl6-dev, which it does not
# pull in itself.
PYLON_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-translations-l10n libsqlite3-dev sqlite3 libgtest-dev
  libbenchmark-dev fonts-wine fonts-liberation xvfb x11-utils imagemagick libgl-dev clang libclang-rt-14-dev
  poppler-utils qt6-charts-dev libqt6opengl6-dev)

pylon_install_packages() {
  local missing=() p
  for p in "${PYLON_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq && apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  else
    echo "Missing packages. Install them with:"
    echo "  sudo apt-get install -y ${missing[*]}"
    exit 1
  fi
}

# pylon_build DIR [cmake options...]
pylon_build() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j"$(nproc)"
}
