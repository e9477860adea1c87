// Stand-ins for the companion libraries that record what reaches them, one line per event,
// in the file named by LINTAVO_CALL_LOG. Built as about.dll or qvm_help.dll, with or
// without their export (LINTAVO_FAKE_ABOUT / LINTAVO_FAKE_HELP, LINTAVO_FAKE_NO_EXPORT).
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "tests/win/call_log.h"

namespace {

#if defined(LINTAVO_FAKE_HELP)
std::wstring FromCp1251(const char* text) {
  wchar_t wide[MAX_PATH * 2] = {};
  MultiByteToWideChar(1251, 0, text, -1, wide, MAX_PATH * 2);
  return wide;
}

void __cdecl Initialise(const char* directory, const char* document, std::int32_t n) {
  RecordCall(L"init " + FromCp1251(directory) + L"|" + FromCp1251(document) + L"|" +
             std::to_wstring(n));
}
void __cdecl ShowContext(std::int32_t context) { RecordCall(L"context " + std::to_wstring(context)); }
void __cdecl ShowContents() { RecordCall(L"contents"); }
#endif

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) RecordCall(L"attach");
  if (reason == DLL_PROCESS_DETACH) RecordCall(L"detach");
  return TRUE;
}

#if defined(LINTAVO_FAKE_ABOUT) && !defined(LINTAVO_FAKE_NO_EXPORT)
extern "C" __declspec(dllexport) void show_about() { RecordCall(L"show_about"); }
#elif defined(LINTAVO_FAKE_HELP) && !defined(LINTAVO_FAKE_NO_EXPORT)
extern "C" __declspec(dllexport) void __cdecl help_get_export_list(void** table) {
  RecordCall(L"export_list");
  for (int i = 0; i < 6; ++i) table[i] = nullptr;
  table[1] = reinterpret_cast<void*>(&Initialise);
  table[2] = reinterpret_cast<void*>(&ShowContext);
  table[3] = reinterpret_cast<void*>(&ShowContents);
}
#else
// A library of the right name that lacks the export the program looks for.
extern "C" __declspec(dllexport) void something_else() { RecordCall(L"something_else"); }
#endif
