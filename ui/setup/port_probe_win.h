// Probing the ports for the setup dialog side by side, each open on a thread of its own, so
// that a port whose open hangs (a Bluetooth port trying to connect) costs the dialog no more
// than the round's deadline. GUI thread only.
#pragma once

#include <vector>

#include "ui/setup/port_probe.h"
#include "ui/setup/setup_form.h"

// Runs `probe` for every port at once, each on an open thread (port_opener_win), and waits
// until all have answered or the deadline has passed; the round comes back closed. An open
// still blocked then is cancelled, and cancelled again at the line timer's pace until its
// thread ends; whatever such a late open gets, the probe closes.
TProbeRound ProbePortsSideBySide(std::vector<int> ports, const TPortProbe& probe);
