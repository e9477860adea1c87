// The log the services tests read back: each line one call, appended in UTF-8 to the file
// named by LINTAVO_CALL_LOG, by the test programs and the recording stand-in libraries alike.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

inline void RecordCall(const std::wstring& line) {
  wchar_t path[MAX_PATH];
  if (GetEnvironmentVariableW(L"LINTAVO_CALL_LOG", path, MAX_PATH) == 0) return;
  FILE* log = _wfopen(path, L"ab");
  if (log == nullptr) return;
  const std::wstring text = line + L"\n";
  char utf8[4096];
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8, sizeof utf8, nullptr, nullptr);
  if (n > 1) fwrite(utf8, 1, static_cast<std::size_t>(n - 1), log);
  fclose(log);
}
