# Shared by scripts/test and scripts/run.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${LINTAVO_BUILD_DIR:-$top/build}

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev googletest libbenchmark-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  wine wine64 wine32:i386 fonts-wine fonts-liberation xvfb xauth x11-xserver-utils socat imagemagick x11-utils python3
  nsis
)

install_missing() {
  local missing=() p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "installing: ${missing[*]}"
  local sudo=; [ "$(id -u)" = 0 ] || sudo=sudo
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure_and_build() { # name [cmake args...]
  local name=$1; shift
  cmake -S "$top" -B "$build/$name" -G Ninja "$@" >/dev/null
  cmake --build "$build/$name"
}

build_windows() {
  configure_and_build win32 -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw-i686.cmake"
  configure_and_build win64 -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw-x86_64.cmake"
}
