// Stand-ins for the companion libraries that record what reaches them, one line per event,
// in the file named by LINTAVO_CALL_LOG. Built as about.dll or qvm_help.dll, with or
// without their export (LINTAVO_FAKE_ABOUT / LINTAVO_FAKE_HELP, LINTAVO_FAKE_NO_EXPORT).
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

void Record(const std::wstring& line) {
  wchar_t path[MAX_PATH];
  if (GetEnvironmentVariableW(L"LINTAVO_CALL_LOG", path, MAX_PATH) == 0) return;
  FILE* log = _wfopen(path, L"ab");
  if (log == nullptr) return;
  const std::wstring text = line + L"\n";
  char utf8[1024];
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8, sizeof utf8, nullptr, nullptr);
  if (n > 1) fwrite(utf8, 1, static_cast<std::size_t>(n - 1), log);
  fclose(log);
}

#if defined(LINTAVO_FAKE_HELP)
void __cdecl Initialise(const wchar_t* directory, const wchar_t* document, std::int32_t n) {
  Record(L"init " + std::wstring(directory) + L"|" + document + L"|" + std::to_wstring(n));
}
void __cdecl ShowContext(std::int32_t context) { Record(L"context " + std::to_wstring(context)); }
void __cdecl ShowContents() { Record(L"contents"); }
#endif

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) Record(L"attach");
  if (reason == DLL_PROCESS_DETACH) Record(L"detach");
  return TRUE;
}

#if defined(LINTAVO_FAKE_ABOUT) && !defined(LINTAVO_FAKE_NO_EXPORT)
extern "C" __declspec(dllexport) void show_about() { Record(L"show_about"); }
#elif defined(LINTAVO_FAKE_HELP) && !defined(LINTAVO_FAKE_NO_EXPORT)
extern "C" __declspec(dllexport) void __cdecl help_get_export_list(void** table) {
  Record(L"export_list");
  for (int i = 0; i < 6; ++i) table[i] = nullptr;
  table[1] = reinterpret_cast<void*>(&Initialise);
  table[2] = reinterpret_cast<void*>(&ShowContext);
  table[3] = reinterpret_cast<void*>(&ShowContents);
}
#else
// A library of the right name that lacks the export the program looks for.
extern "C" __declspec(dllexport) void something_else() { Record(L"something_else"); }
#endif
