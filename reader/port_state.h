// What the user is told about the port, and how a port number names its device.
#pragma once

#include <string>

#include "core/common.h"

// "Порт открыт", "Порт не инициализирован", "Порт не открыт", or "?" for anything else.
// Never passed through the translation hook.
const wchar_t* PortStateText(int state);

// The state of the global port object: none is PortMissing, a closed one PortClosed.
PortState PortStateOf(bool exists, bool closed);

// "\\.\COMn": the form that also reaches ports above 9.
std::wstring PortDevicePath(int portNumber);
