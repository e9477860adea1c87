#include "ui/main_window/main_status.h"

#include "reader/port_state.h"
#include "ui/shell/texts.h"

int PortFailedOf(int portState) { return portState != PortOpen ? 1 : 0; }

MainStatus DescribeStatus(const TSettings& settings, int portState) {
  MainStatus status;
  status.ReaderType = settings.ReaderType != 0 ? kSetupReaderType40 : kSetupReaderType26;
  status.Port = L"COM" + std::to_wstring(settings.PortNumber) + L" - " + PortStateText(portState);
  status.PortColour = PortFailedOf(portState) == 1 ? kPortFailedColour : kPortOpenColour;
  return status;
}
