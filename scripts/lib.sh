# Shared by scripts/test and scripts/run.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$top/build  # one folder per preset of CMakePresets.json

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev googletest libbenchmark-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  wine wine64 wine32:i386 fonts-wine fonts-liberation xvfb xauth x11-xserver-utils socat imagemagick x11-utils python3
  # What 32-bit Wine only recommends, and cannot change the screen size or draw without.
  libxrandr2:i386 libxrender1:i386 libxi6:i386 libxcursor1:i386 libxinerama1:i386
  libxcomposite1:i386 libxfixes3:i386 libxxf86vm1:i386
  nsis
  # The Linux edition: Qt 6 and libxdo to build it; xterm, a tray host and setxkbmap to test it.
  qt6-base-dev libxdo-dev xterm trayer x11-xkb-utils
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

configure_and_build() { # preset
  (cd "$top" && cmake --preset "$1" >/dev/null && cmake --build --preset "$1")
}

build_windows() {
  configure_and_build win32
  configure_and_build win64
}

# "30/33 passed" from a ctest log, or "did not finish" when ctest printed no totals.
ctest_counts() { # log
  local line total failed
  line=$(grep -E '[0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1)
  [ -n "$line" ] || { echo "did not finish"; return; }
  failed=$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<<"$line")
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  echo "$((total - failed))/$total passed"
}
