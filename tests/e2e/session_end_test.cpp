// The end of the session with a settings file that cannot be written, as under "Program
// Files" where every write fails: nothing shows, the program ends at once, and the next start
// tells in its main window, once, that the settings were not saved and why.
#include <gtest/gtest.h>
#include <windows.h>

#include <iostream>
#include <string>
#include <vector>

#include "tests/e2e/lintavo_instance.h"
#include "tests/support/wait.h"
#include "tests/support/window_text.h"
#include "ui/shell/texts.h"

namespace {

constexpr DWORD kLong = 20'000;
// Windows lists a program as holding up the sign-out after a few seconds; this one has
// nothing to wait for.
constexpr ULONGLONG kEndsWithinMs = 1000;

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result) {
  return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kLong, result) !=
         0;
}

// The notice line under the port line: its text, empty when it is not shown. An edit keeps
// its text to itself: another process asks for it with a message.
std::wstring NoticeShown(HWND main) {
  const std::vector<HWND> lines = ChildrenOfClass(main, L"Edit");
  if (lines.size() != 1) return L"<" + std::to_wstring(lines.size()) + L" notice lines>";
  if ((GetWindowLongW(lines.front(), GWL_STYLE) & WS_VISIBLE) == 0) return L"";
  wchar_t text[512] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutW(lines.front(), WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, kLong, &length);
  return std::wstring(text, length);
}

TEST(SessionEnd, AnUnwritableSettingsFileHoldsNothingUpAndTheNextStartTellsOnce) {
  e2e::TLintavoInstance lintavo(L"session end");
  // A folder in the file's place: every write fails, even for root.
  const std::wstring ini = lintavo.IniPath().wstring();
  ASSERT_TRUE(CreateDirectoryW(ini.c_str(), nullptr));

  ASSERT_TRUE(lintavo.Start());
  HWND main = lintavo.MainWindow(kLong);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(lintavo.WaitForStartUp(kLong));
  EXPECT_EQ(NoticeShown(main), L"") << "a notice at the first start";
  DWORD_PTR answer = 0;
  ASSERT_TRUE(Send(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, &answer));
  EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
  const ULONGLONG asked = GetTickCount64();
  EXPECT_TRUE(Send(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, &answer))
      << "the end of the session was not answered";
  // An error box, or a wait on the port, would keep the program from ending.
  EXPECT_EQ(lintavo.WaitForExit(kLong), 0u) << "the program did not end with the session";
  const ULONGLONG endedAfter = GetTickCount64() - asked;
  std::cout << "the program ended " << endedAfter << " ms after WM_ENDSESSION\n";
  EXPECT_LE(endedAfter, kEndsWithinMs);

  // The next start tells; a start after it, with no session end between, does not.
  ASSERT_TRUE(lintavo.Start());
  main = lintavo.MainWindow(kLong);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(lintavo.WaitForStartUp(kLong));
  EXPECT_EQ(NoticeShown(main),
            std::wstring(kSettingsNotSaved) + L"\r\nUnable to write to " + ini);
  lintavo.Kill();

  ASSERT_TRUE(lintavo.Start());
  main = lintavo.MainWindow(kLong);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(lintavo.WaitForStartUp(kLong));
  EXPECT_EQ(NoticeShown(main), L"") << "told again";
}

}  // namespace
