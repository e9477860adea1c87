#!/usr/bin/env bash
# Makes the .deb with CPack, checks it carries what an installed copy needs, and has lintian
# find nothing in it that Debian would reject (no error, no warning: a copyright file, a
# changelog and a manual page are lintian's to ask for).
set -euo pipefail
build=$1
rm -f "$build"/lintavo_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/lintavo_*.deb)
contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/lintavo ./usr/share/lintavo/DOC/Lintavo.crf ./usr/share/applications/lintavo.desktop \
            ./usr/share/icons/hicolor/16x16/apps/lintavo.png ./usr/share/icons/hicolor/256x256/apps/lintavo.png; do
  grep -q " $path\$" <<<"$contents" || { echo "$deb lacks $path"; exit 1; }
done
dpkg-deb -f "$deb" Depends | grep -q libxdo3 || { echo "$deb does not depend on libxdo3"; exit 1; }
status=0
report=$(lintian --fail-on error,warning "$deb" 2>&1) || status=$?
grep -v 'running with root privileges' <<<"$report" || true
[ $status = 0 ] || { echo "lintian rejects $deb"; exit 1; }
echo "$deb: program, help, menu entry, icons; lintian clean"
