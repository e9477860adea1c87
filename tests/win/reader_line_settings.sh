#!/usr/bin/env bash
# Opens COM2 with TUart and reads the line settings the device got from the Linux side:
#   reader_line_settings.sh <reader_uart_hold.exe>   (run inside with-ports 2)
set -euo pipefail
hold=$1
rig=$(dirname "$0")/../rig
out=$(mktemp)
"$rig/wine-run" "$hold" 2 10000 >"$out" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true; wait $pid 2>/dev/null || true; rm -f "$out"' EXIT
for _ in $(seq 100); do grep -q ready "$out" && break; kill -0 $pid 2>/dev/null || break; sleep 0.1; done
grep -q ready "$out" || { echo "the port did not open: $(cat "$out")"; exit 1; }

# The device Wine opened for COM2 is the near end of the pair.
device=$(readlink -f "$WINEPREFIX/dosdevices/com2")
settings=$(stty -F "$device" -a)
echo "$settings"
status=0
for want in 'speed 19200 baud' cs8 -parenb -cstopb -crtscts -ixon -ixoff; do
  if ! grep -Eq -- "(^|[ ;])$want([ ;]|\$)" <<<"$settings"; then
    echo "missing: $want"
    status=1
  fi
done
exit $status
