#include "reader/port_state.h"

const wchar_t* PortStateText(int state) {
  switch (state) {
    case PortOpen:
      return L"Порт открыт";
    case PortMissing:
      return L"Порт не инициализирован";
    case PortClosed:
      return L"Порт не открыт";
    default:
      return L"?";
  }
}

PortState PortStateOf(bool exists, bool closed) {
  if (!exists) return PortMissing;
  return closed ? PortClosed : PortOpen;
}

std::wstring PortDevicePath(int portNumber) {
  return L"\\\\.\\COM" + std::to_wstring(portNumber);
}
