// One running program beside one notepad for a whole suite: notepad below the main window,
// clear of its labels, and the program started once with the settings the suite gives. Each
// test begins by checking that both are still there.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "tests/e2e/lintavo_instance.h"
#include "tests/support/front_window.h"
#include "tests/support/notepad.h"

namespace e2e {

// `Suite` keeps each suite's program and notepad its own.
template <class Suite>
class TBesideNotepad : public testing::Test {
 protected:
  // For the suite's SetUpTestSuite: `name` names the program's folder, `ini` is its whole
  // settings file.
  static void StartBesideNotepad(const std::wstring& name, const std::string& ini,
                                 DWORD waitMs) {
    Notepad = std::make_unique<TNotepad>();
    SetWindowPos(Notepad->Main(), nullptr, 0, 420, 600, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    Lintavo = std::make_unique<TLintavoInstance>(name);
    Lintavo->WriteIni(ini);
    StartedUp = Lintavo->Start() && Lintavo->WaitForStartUp(waitMs);
  }
  static void TearDownTestSuite() {
    Lintavo.reset();
    Notepad.reset();
  }
  void SetUp() override {
    ASSERT_NE(Notepad->Edit(), nullptr) << "notepad did not come up";
    ASSERT_TRUE(StartedUp) << "the program did not start up; " << DescribeFront();
    ASSERT_TRUE(Lintavo->Running()) << "the program has ended";
    Main = Lintavo->MainWindow(0);
  }

  static inline std::unique_ptr<TNotepad> Notepad;
  static inline std::unique_ptr<TLintavoInstance> Lintavo;
  static inline bool StartedUp = false;
  HWND Main = nullptr;
};

}  // namespace e2e
