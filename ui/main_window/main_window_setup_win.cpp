// The setup flow as the main window's menus, toolbar and tray start it.
#include "ui/main_window/main_window_win.h"
#include "ui/setup/setup_form_win.h"

namespace {

class TMainWindowSetupHost final : public TSetupHost {
 public:
  void ReopenPort() override {
    if (LintavoForm != nullptr) LintavoForm->ReopenPort();
  }
  void UpdateStatus() override {
    if (LintavoForm != nullptr) LintavoForm->UpdateStatus();
  }
  HWND Window() const override { return LintavoForm != nullptr ? LintavoForm->Handle() : nullptr; }
};

}  // namespace

bool RunSetup(int page) {
  TMainWindowSetupHost host;
  return RunSetup(page, host);
}
