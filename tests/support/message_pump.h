// Handling this thread's messages while waiting, for tests whose windows live on the test's
// own thread.
#pragma once

#include <windows.h>

#include <functional>

using TMessageSeen = std::function<void(const MSG&)>;

// Dispatches this thread's messages until done() holds or timeoutMs has passed; true when
// done() held. seen, when given, looks at each message before it is dispatched.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000,
               const TMessageSeen& seen = nullptr);

// Dispatches the messages waiting now.
inline void PumpWaiting(const TMessageSeen& seen = nullptr) { PumpUntil(nullptr, 0, seen); }
