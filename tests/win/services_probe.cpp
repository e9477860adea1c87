// Runs the program's help and about bridges as the program would, one command after
// another from the command line, so a test can lay out libraries and a working directory
// around it and watch from outside. Writes what it sees to LINTAVO_CALL_LOG.
//   secure | help-create | release | contents | context N | about | pump | viewer
// pump handles what the thread has been posted so far.
#include <windows.h>

#include <string>

#include "services/about_bridge_win.h"
#include "services/help_bridge_win.h"
#include "services/library_search_win.h"
#include "tests/support/message_pump.h"
#include "tests/support/queue_fence.h"
#include "tests/support/test_paths.h"
#include "tests/support/top_level_windows.h"
#include "tests/support/window_classes.h"
#include "tests/support/window_text.h"
#include "tests/win/call_log.h"

namespace {

// The help library's own window: its caption and the first line of the topic shown.
void RecordViewer() {
  const HWND viewer = FindVisibleWindow(window_class::kHelpViewer, nullptr);
  if (viewer == nullptr) {
    RecordCall(L"viewer none");
    return;
  }
  std::wstring topic = WindowText(GetDlgItem(viewer, 11));
  topic = topic.substr(0, topic.find(L'\r'));
  RecordCall(L"viewer " + WindowText(viewer) + L"|" + topic);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::wstring command = argv[i];
    if (command == L"secure") {
      SecureLibrarySearch();
    } else if (command == L"help-create") {
      CreateHelpObj((TestProgramDir() / L"DOC").wstring());
    } else if (command == L"release") {
      ReleaseHelpObj();
    } else if (command == L"contents") {
      ShowHelpContents();
    } else if (command == L"context" && i + 1 < argc) {
      ShowHelpContext(_wtoi(argv[++i]));
    } else if (command == L"about") {
      ShowAbout();
      RecordCall(std::wstring(L"about returned, loaded ") +
             (GetModuleHandleW(kAboutLibrary) != nullptr ? L"yes" : L"no"));
    } else if (command == L"pump") {
      TQueueFence fence;
      const int posted = fence.Post();
      PumpUntil([&] { return fence.Passed(posted); });
    } else if (command == L"viewer") {
      RecordViewer();
    } else {
      return 2;
    }
  }
  return 0;
}
