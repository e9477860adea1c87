// Probing the ports for the setup dialog side by side, each open on a thread of its own, so
// that a port whose open hangs (a Bluetooth port trying to connect) costs the dialog no more
// than the round's deadline. GUI thread only.
#pragma once

#include <vector>

#include "ui/setup/port_probe.h"
#include "ui/setup/setup_form.h"

// Runs `probe` for every port at once and waits until all have answered or the deadline
// has passed; the round comes back closed. An open still blocked then is cancelled and its
// thread left to end by itself; whatever such a late open gets, the probe closes.
TProbeRound ProbePortsSideBySide(std::vector<int> ports, const TPortProbe& probe);

// Cancels the open of every probe thread still running and waits until each has ended; the
// program calls it before it ends, so that no probe outlives it.
void EndPortProbes();
