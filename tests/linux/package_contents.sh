#!/usr/bin/env bash
# Makes the .deb with CPack and checks it carries what an installed copy needs.
set -euo pipefail
build=$1
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/lintavo_*.deb)
contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/lintavo ./usr/share/lintavo/DOC/Lintavo.crf ./usr/share/applications/lintavo.desktop \
            ./usr/share/icons/hicolor/16x16/apps/lintavo.png ./usr/share/icons/hicolor/256x256/apps/lintavo.png; do
  grep -q " $path\$" <<<"$contents" || { echo "$deb lacks $path"; exit 1; }
done
dpkg-deb -f "$deb" Depends | grep -q libxdo3 || { echo "$deb does not depend on libxdo3"; exit 1; }
echo "$deb: program, help, menu entry and icons"
