#!/usr/bin/env bash
# Installs the .deb on a clean Debian 12 as a user would (apt install ./lintavo_*.deb), starts
# the program, purges it with what it brought, and checks that nothing is left behind. The
# bare system is made once by debootstrap and kept as a tarball in the user's cache, beside
# apt's downloads, so that a later run, in this checkout or a fresh one, fetches only the
# package lists.
set -euo pipefail
build=$(cd "$1" && pwd)
deb=$(ls "$build"/lintavo_*.deb)
cache=${LINTAVO_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/lintavo}/clean-system
mirror=${LINTAVO_DEBIAN_MIRROR:-http://deb.debian.org/debian}
[ "$(id -u)" = 0 ] || { echo "a chroot needs root"; exit 1; }

mkdir -p "$cache/archives/partial"
if [ ! -f "$cache/bookworm.tar" ]; then
  rm -rf "$cache/make"
  debootstrap --variant=minbase bookworm "$cache/make" "$mirror" >"$cache/debootstrap.log" 2>&1 ||
    { tail -n 20 "$cache/debootstrap.log"; exit 1; }
  tar -C "$cache/make" -cf "$cache/bookworm.tar.part" .
  mv "$cache/bookworm.tar.part" "$cache/bookworm.tar"
  rm -rf "$cache/make"
fi

root=$(mktemp -d "$build/clean-root-XXXXXX")
cleanup() {
  umount "$root/proc" 2>/dev/null || true
  umount "$root/var/cache/apt/archives" 2>/dev/null || true
  rm -rf "$root"
}
trap cleanup EXIT
tar -C "$root" -xf "$cache/bookworm.tar"
mount --bind "$cache/archives" "$root/var/cache/apt/archives"
mount -t proc proc "$root/proc"
cp "$deb" "$root/tmp/"

in_root() {
  chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@"
}
# Every file and folder but the package manager's own records, caches and logs.
files() {
  in_root find / -xdev \( -path /proc -o -path /tmp -o -path /run -o -path /var/cache \
    -o -path /var/lib/apt -o -path /var/lib/dpkg -o -path /var/log -o -path /etc/ld.so.cache \) \
    -prune -o -print | sort
}

in_root apt-get update -qq
files >"$root/tmp/before"
in_root apt-get install -y -qq "/tmp/$(basename "$deb")" >"$root/tmp/install.log" 2>&1 ||
  { tail -n 20 "$root/tmp/install.log"; exit 1; }

# It starts with the libraries the package drew in, for a user who has no settings yet, keeps
# running, and ends when the session ends it (timeout's SIGTERM: 124; 137 when it had to be
# killed).
status=0
in_root sh -c 'mkdir -m 700 /tmp/home /tmp/run &&
  HOME=/tmp/home XDG_RUNTIME_DIR=/tmp/run QT_QPA_PLATFORM=offscreen timeout -k 10 5 lintavo' ||
  status=$?
case $status in
  124) ;;
  137) echo "lintavo did not end at SIGTERM"; exit 1 ;;
  *) echo "lintavo ended by itself with status $status"; exit 1 ;;
esac

in_root dpkg -L lintavo | sort >"$root/tmp/owned"
in_root apt-get purge -y -qq --autoremove lintavo >"$root/tmp/remove.log" 2>&1 ||
  { tail -n 20 "$root/tmp/remove.log"; exit 1; }
files >"$root/tmp/after"
# What the purge left that was not there before and is the package's: its files, or any
# path named after it. The libraries it drew in leave their own traces (a machine id, the
# shadow files' backups), which are theirs.
new=$(comm -13 "$root/tmp/before" "$root/tmp/after")
left=$({ grep -Fx -f "$root/tmp/owned" <<<"$new" || true; grep -i lintavo <<<"$new" || true; } | sort -u)
taken=$(comm -23 "$root/tmp/before" "$root/tmp/after")
if [ -n "$left$taken" ]; then
  echo "left behind: ${left:-nothing}; taken away: ${taken:-nothing}"
  exit 1
fi
echo "$(basename "$deb"): installed on a clean Debian 12, started, purged without a trace"
