// Waiting for the GUI thread's next message, in every message loop of the program's own,
// with the longest wait remembered: a long gap between two timer ticks that the thread spent
// waiting is the machine asleep, one it spent at work is its own doing.
#pragma once

#include <windows.h>

#include <cstdint>

// GetMessageW, timed.
BOOL WaitForMessage(MSG& msg);
// The longest wait since the last call; the count starts again.
std::uint64_t TakeLongestQueueWait();
