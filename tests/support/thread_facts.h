// What a process's threads are doing, seen from outside.
#pragma once

#include <windows.h>

#include <cstdint>

// The number of threads the process runs now, or -1 when the platform would not say.
int ThreadCount(DWORD processId);

// The processor time the thread has used so far, kernel and user, in 100 ns units.
std::uint64_t ThreadCpuTime(HANDLE thread);
