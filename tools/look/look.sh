#!/usr/bin/env bash
# Screenshots of the real program for looking at: the main window normal, with the mouse
# over a toolbar button, with the help drop-down open and with the port failed; the tray
# icon green and red, its menu open and with an item selected, and the program minimised;
# then each kind of the program's message dialog.
#   look.sh BUILD_DIR OUT_DIR
# Needs the rig (tests/rig/session start; . $LINTAVO_RIG_DIR/env): the program runs in the
# rig's Wine desktop, with its task bar.
set -uo pipefail
build=$1 out=$2
rig=$(cd "$(dirname "$0")/../../tests/rig" && pwd)
tools=$build/tools/look
mkdir -p "$out"
work=$(mktemp -d /tmp/lintavo-look.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp -r "$build/bin/." "$work/"
printf '[SETTINGS]\r\nMinimizeOnRun=0\r\nCheckExit=0\r\n' >"$work/Lintavo.ini"
poke() { "$rig/wine-run" "$tools/lintavo_poke.exe" "$@" || true; sleep 0.7; }
shot() { import -window root "$out/$1.png"; }

# One run of the program under the given port layout; the steps follow.
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
  shot tray_green
  poke tray 0x204; poke tray 0x205; shot menu_open
  poke menu-key 0x28; poke menu-key 0x28; shot menu_selected
  poke menu-key 0x1B
  poke minimize 0; shot minimized
}
failed() { shot main_port_failed; shot tray_red; }

look 2 normal
look 2:none failed

# Each kind of message dialog, shown for two seconds.
for kind in 0 1 2 3 4 5; do
  "$rig/wine-run" "$tools/message_dialog_gallery.exe" "$kind" 2000 &
  sleep 1.5
  shot "message_dialog_$kind"
  wait
done
