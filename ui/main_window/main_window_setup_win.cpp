// The setup flow as the main window's menus, toolbar and tray start it.
#include "ui/main_window/main_status.h"
#include "ui/main_window/main_window_win.h"
#include "ui/setup/setup_form_win.h"

namespace {

class TMainWindowSetupHost final : public TSetupHost {
 public:
  void PortReopened(PortState state) override {
    if (LintavoForm == nullptr) return;
    LintavoForm->PortStateValue = state;
    LintavoForm->PortFailed = PortFailedOf(state);
    LintavoForm->UpdateTrayIcon();
  }
  void UpdateStatus() override {
    if (LintavoForm != nullptr) LintavoForm->UpdateStatus();
  }
};

}  // namespace

bool RunSetup(int page) {
  TMainWindowSetupHost host;
  return RunSetup(page, host);
}
