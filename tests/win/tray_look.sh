#!/usr/bin/env bash
# Screenshots of the tray demo for looking at: the open menu, a selected item, and the
# notification area with the green and the red icon.
#   tray_look.sh BUILD_TESTS_DIR OUT_DIR [desktop]
# Needs the rig's environment (tests/rig/session start; . $LINTAVO_RIG_DIR/env). With
# "desktop" the demo runs in a Wine virtual desktop with a task bar.
set -uo pipefail
tests=$1 out=$2 mode=${3:-}
run=$(cd "$(dirname "$0")/../rig" && pwd)/wine-run
mkdir -p "$out"
log=$(mktemp /tmp/tray-look.XXXXXX)
desktop=()
[ "$mode" = desktop ] && desktop=(explorer "/desktop=shell,1024x768")
# A poke runs in the demo's desktop, or it finds none of its windows.
poke() { "$run" "${desktop[@]}" "$tests/tray_poke.exe" "$@" || true; sleep 0.3; }
shot() { import -window root "$out/$1.png"; }

"$run" "${desktop[@]}" "$tests/tray_demo.exe" "Z:$log" &
demo=$!
trap 'kill $demo 2>/dev/null || true; rm -f "$log"' EXIT
for _ in $(seq 50); do grep -q '^state' "$log" && break; sleep 0.1; done

shot tray_green
poke mouse 0x204; poke mouse 0x205; sleep 1; shot menu_open
poke menu-key 0x28; poke menu-key 0x28; sleep 0.5; shot menu_selected
poke menu-key 0x1B; sleep 0.3
poke main 0x8001 1; sleep 0.5; shot tray_red
poke main 0x8002 0; sleep 0.5; shot minimized
poke main 0x0010 0
for _ in $(seq 50); do kill -0 $demo 2>/dev/null || break; sleep 0.1; done
