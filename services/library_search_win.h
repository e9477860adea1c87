// Where libraries loaded by bare name are looked for, and how their exports are reached.
#pragma once

#include <windows.h>

// Takes the current directory out of the library search for the rest of the process; the
// program's own directory and the system directories stay. Called first thing at start-up,
// before any library is loaded by name: a DLL planted in the working directory must never
// be picked up for the companion libraries.
void SecureLibrarySearch();

// The library's export as a function of type F, or null.
template <typename F>
F ExportOf(HMODULE library, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}
