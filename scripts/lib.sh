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
  qt6-base-dev libxdo-dev xterm trayer x11-xkb-utils libxtst-dev
  # What the desk tests add (an input method, a second user), and the package's checks.
  ibus passwd lintian dpkg-dev debootstrap
  # Qt's own texts in Russian, and the desktop's GTK theme (a dark one too) for the look.
  qt6-translations-l10n qt6-gtk-platformtheme
  # A window manager that keeps programs from stealing the focus, for the second launch.
  openbox
  # The clipboard read from outside, for the journal's copy.
  xclip
  # A session bus of the tests' own, for the tray's StatusNotifierItem protocol.
  dbus-daemon dbus-bin
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
  # A mirror caught in the middle of a sync fails one list or another; the lists that came
  # still serve.
  $sudo apt-get update -qq || echo "apt-get update failed for some lists; going on with the rest" >&2
  local native=() foreign=()
  for p in "${missing[@]}"; do
    if [[ $p == *:i386 ]]; then foreign+=("$p"); else native+=("$p"); fi
  done
  apt_install "$sudo" "${native[@]}"
  # Without 32-bit Wine only the 32-bit tests cannot run, and the last line of scripts/test
  # says so; everything else still builds and runs.
  apt_install "$sudo" "${foreign[@]}" ||
    echo "32-bit Wine could not be installed: the win32 tests will not run" >&2
}

apt_install() { # sudo-or-empty package...
  local sudo=$1; shift
  [ $# -gt 0 ] || return 0
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$@"
}

configure_and_build() { # preset
  (cd "$top" && cmake --preset "$1" >/dev/null && cmake --build --preset "$1")
}

build_windows() {
  configure_and_build win32
  configure_and_build win64
}

# "30/33 passed, 0 skipped" from a ctest log, its exit status and its JUnit record, with the
# names of the tests that failed ("30/33 passed, 1 skipped, failed: a, b, c"); "did not
# finish" when ctest printed no totals, and the status when ctest failed otherwise. A test
# counts once: no test is ever run again. A skipped test is a GoogleTest case that skipped
# or an entry ctest did not run; it is not counted as passed.
ctest_summary() { # log status junit
  local line total failures names skipped notrun
  line=$(grep -E '[0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1)
  if [ -z "$line" ]; then
    echo "did not finish (ctest exit status $2)"
    return
  fi
  failures=$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<<"$line")
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  names=$(sed -n '/The following tests FAILED:/,$p' "$1" |
          sed -nE 's/^[[:space:]]*[0-9]+ - ([^ ]+) .*/\1/p' | paste -sd, - | sed 's/,/, /g')
  notrun=$(grep -c 'status="notrun"' "$3" 2>/dev/null || true)
  skipped=$(awk '/<testcase /{notrun = /status="notrun"/; seen = 0}
                 /\[  SKIPPED \] [^ ]+ \([0-9]+ ms\)/{n++; seen = 1}
                 /<\/testcase>/{if (notrun && !seen) n++}
                 END{print n + 0}' "$3" 2>/dev/null || echo 0)
  local counts="$((total - failures - ${notrun:-0}))/$total passed, $skipped skipped"
  if [ "$failures" != 0 ]; then
    echo "$counts, failed: $names"
  elif [ "$2" != 0 ]; then
    echo "$counts, but ctest exited with status $2"
  else
    echo "$counts"
  fi
}
