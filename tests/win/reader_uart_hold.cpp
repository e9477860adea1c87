// Opens COMn through TUart, says "ready" and keeps it open for a while, so the line settings
// can be read from the Linux side of the pseudo-terminal.
//   reader_uart_hold <port number> <milliseconds>
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "reader/uart_win.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  TUart port(static_cast<int>(std::wcstol(argv[1], nullptr, 10)));
  if (port.Closed) {
    std::printf("failed %d\n", port.Status);
    return 1;
  }
  std::printf("ready\n");
  std::fflush(stdout);
  Sleep(static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)));
  return 0;
}
