#!/usr/bin/env bash
# Screenshots of the real program for looking at: the main window normal, with the mouse
# over a toolbar button, with the help drop-down open and with the port failed; the tray
# icon green and red, its menu open and with an item selected, and the program minimised.
#   look.sh BUILD_DIR OUT_DIR [desktop]
# Needs the rig's environment (tests/rig/session start; . $LINTAVO_RIG_DIR/env). With
# "desktop" the program runs in a Wine virtual desktop with a task bar.
set -uo pipefail
build=$1 out=$2 mode=${3:-}
rig=$(cd "$(dirname "$0")/../rig" && pwd)
mkdir -p "$out"
work=$(mktemp -d /tmp/lintavo-look.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp -r "$build/bin/." "$work/"
printf '[SETTINGS]\r\nMinimizeOnRun=0\r\nCheckExit=0\r\n' >"$work/Lintavo.ini"
desktop=()
[ "$mode" = desktop ] && desktop=(explorer "/desktop=shell,1024x768")
# A poke runs in the program's desktop, or it finds none of its windows.
poke() { "$rig/wine-run" "${desktop[@]}" "$build/tests/lintavo_poke.exe" "$@" || true; sleep 0.7; }
shot() { import -window root "$out/$1.png"; }

# One run of the program under the given port layout; the steps follow.
look() {
  local ports=$1; shift
  "$rig/with-ports" "$ports" -- "$rig/wine-run" "${desktop[@]}" "$work/Lintavo.exe" &
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
  shot tray_green
  poke tray 0x204; poke tray 0x205; shot menu_open
  poke menu-key 0x28; poke menu-key 0x28; shot menu_selected
  poke menu-key 0x1B
  poke minimize 0; shot minimized
}
failed() { shot main_port_failed; shot tray_red; }

look 2 normal
look 2:none failed
