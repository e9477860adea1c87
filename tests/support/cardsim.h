// cardsim's Windows build, run to write card frames on the far end of a port.
#pragma once

#include <windows.h>

#include <string>

// Runs cardsim with the given arguments to the end; its exit code (0: all written), or
// STILL_ACTIVE when it did not finish in time.
DWORD RunCardsim(const std::wstring& args, DWORD timeoutMs = 10'000);
