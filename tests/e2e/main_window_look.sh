#!/usr/bin/env bash
# Screenshots of the real program's main window for looking at: normal, the mouse over a
# toolbar button, the help drop-down open, and the port failed.
#   main_window_look.sh BUILD_DIR OUT_DIR
# Needs the rig's environment (tests/rig/session start; . $LINTAVO_RIG_DIR/env).
set -uo pipefail
build=$1 out=$2
rig=$(cd "$(dirname "$0")/../rig" && pwd)
mkdir -p "$out"
work=$(mktemp -d /tmp/lintavo-look.XXXXXX)
cp -r "$build/bin/." "$work/"
printf '[SETTINGS]\r\nMinimizeOnRun=0\r\nCheckExit=0\r\n' >"$work/Lintavo.ini"
poke() { "$rig/wine-run" "$build/tests/main_window_poke.exe" "$@" || true; sleep 0.7; }
shot() { import -window root "$out/$1.png"; }

# One run of the program under the given port layout; the steps follow "--".
look() {
  local ports=$1; shift
  "$rig/with-ports" "$ports" -- "$rig/wine-run" "$work/Lintavo.exe" &
  local program=$!
  sleep 4
  "$@"
  poke command 1002 # "Выход"; no question with CheckExit=0
  for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
  kill "$program" 2>/dev/null || true
}

normal() {
  shot main_normal
  poke hover 30; shot main_hover
  poke press -106; shot main_help_dropdown
  poke menu-key 0x1B
}
failed() { shot main_port_failed; }

look 2 normal
look 2:none failed
rm -rf "$work"
