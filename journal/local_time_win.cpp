#include <windows.h>

#include "journal/journal_row.h"

TLocalTime LocalNow() {
  SYSTEMTIME local{};
  GetLocalTime(&local);
  return {local.wYear, local.wMonth,  local.wDay,
          local.wHour, local.wMinute, local.wSecond};
}
