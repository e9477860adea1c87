#!/usr/bin/env bash
# Fails when the program imports a function the oldest Windows its manifest names does not
# have, which would keep it from starting there: every import from a system library must be
# declared by the platform headers set to that version. The C runtime is left aside: its
# functions are not versioned by those headers.
#   oldest_windows_imports.sh OBJDUMP CXX EXE MANIFEST
set -euo pipefail
objdump=$1 cxx=$2 exe=$3 manifest=$4

# The supportedOS identifiers and the header version of each Windows.
declare -A version_of=(
  [e2011457-1546-43c5-a5fe-008deee3d3f0]=0x0600  # Vista
  [35138b9a-5d96-4fbd-8e2d-a2440225f93a]=0x0601  # 7
  [4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38]=0x0602  # 8
  [1f676c76-80e1-4239-95bb-83d0f6d0da78]=0x0603  # 8.1
  [8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a]=0x0A00  # 10 and 11
)
oldest=
for id in $(grep -o 'supportedOS Id="{[0-9a-fA-F-]*}"' "$manifest" | grep -o '[0-9a-fA-F-]\{36\}'); do
  version=${version_of[${id,,}]:-}
  [ -n "$version" ] || { echo "unknown supportedOS $id in $manifest" >&2; exit 1; }
  if [ -z "$oldest" ] || (( version < oldest )); then oldest=$version; fi
done
[ -n "$oldest" ] || { echo "no supportedOS in $manifest" >&2; exit 1; }

imports=$("$objdump" -p "$exe" | awk '
  /DLL Name:/ { dll = tolower($3); next }
  /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ { if (dll != "msvcrt.dll") print dll " " $3 }')
[ -n "$imports" ] || { echo "no imports read from $exe" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
{
  printf '#include <windows.h>\n#include <commctrl.h>\n#include <uxtheme.h>\n'
  printf '#include <shellapi.h>\n#include <shlobj.h>\n#include <knownfolders.h>\n'
  printf '#include <sddl.h>\n#include <aclapi.h>\n'
  printf 'void UsesEveryImport() {\n'
  while read -r dll name; do printf '  (void)&%s;  // %s\n' "$name" "$dll"; done <<<"$imports"
  printf '}\n'
} >"$work/imports.cpp"

if ! "$cxx" -fsyntax-only -x c++ -DUNICODE -D_UNICODE -D_WIN32_WINNT="$oldest" \
    -DWINVER="$oldest" "$work/imports.cpp" 2>"$work/errors"; then
  echo "imports newer than Windows $oldest (the oldest the manifest names):" >&2
  grep -oE "[‘'][A-Za-z_0-9]+[’'] was not declared" "$work/errors" | sort -u >&2 ||
    cat "$work/errors" >&2
  exit 1
fi
echo "$(wc -l <<<"$imports") imports, all in Windows $oldest"
