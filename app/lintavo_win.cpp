// The program entry: the only place that wires the rooms together at start-up.
#include <windows.h>

#include <exception>
#include <string>

#include "core/common.h"
#include "core/program_dir_win.h"
#include "core/settings.h"
#include "core/single_copy_win.h"
#include "services/library_search_win.h"
#include "services/trint.h"
#include "ui/dialogs/message_dialog_win.h"
#include "ui/main_window/main_window_win.h"
#include "ui/shell/application_win.h"
#include "ui/shell/texts.h"
#include "ui/shell/window_error_report_win.h"
#include "ui/tray/tray_pictures_ids.h"

namespace {

bool OsHasNewStyleShell() { return LOBYTE(LOWORD(GetVersion())) >= 4; }

// The program's icon at a size the system shows icons at; shared, as LoadIcon's are.
HICON ProgramIcon(int widthMetric, int heightMetric) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TRAY_DEVICE),
                                       IMAGE_ICON, GetSystemMetrics(widthMetric),
                                       GetSystemMetrics(heightMetric), LR_SHARED));
}

void RefuseSecondCopy() {
  const std::wstring notice =
      Translate(kApplicationTitle, 0) + L"\r" + Translate(kAlreadyRunning, 0);
  ShowMessageDialog(notice, MessageKind::Error, {MessageButton::OK}, 0);
}

int RunMainWindow() {
  const auto form = TLintavoForm::Create(Application.Handle());
  PublishMainWindow(form->Handle());
  // The main window is owned by the application window and has no task-bar button of its
  // own; the application window carries the program's button and Alt+Tab entry from now on.
  Application.ShowTaskbarWindow();
  form->Show();
  return Application.Run();
}

// The last-chance report: what no window could report ends the program here.
int ShowApplicationError(const std::exception& error) {
  const std::wstring text = WideFromUtf8(error.what());
  MessageBoxW(nullptr, text.c_str(), L"Application Error", MB_TASKMODAL | MB_ICONSTOP | MB_OK);
  return 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  SecureLibrarySearch();
  NewStyleShell = OsHasNewStyleShell();
  Application.Initialize();
  Application.SetTitle(kApplicationTitle);
  Application.SetIcon(ProgramIcon(SM_CXICON, SM_CYICON), ProgramIcon(SM_CXSMICON, SM_CYSMICON));
  ExeDir = ProgramDirectory();
  SettingsFileName = ExeDir + SettingsFileName;
  LoadSettings();

  try {
    if (Settings.RunOnlyOneCopy && !IsFirstInstance()) {
      RefuseSecondCopy();
      // The running copy may sit hidden in the notification area, and Windows 11 hides new
      // icons in the overflow: it comes up instead of only being named.
      BringRunningCopyForward();
      return 0;
    }
    return RunMainWindow();
  } catch (const std::exception& error) {
    return ShowApplicationError(error);
  }
}
