// The window base and the modal loop against the real platform: binding, the exception
// fence, the two ways a window ends, and the dialog and system-control flavours.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/shell/modal_loop_win.h"
#include "ui/shell/window_win.h"

namespace {

// What a test window saw, kept outside the window so it can be read after the window ends.
struct TSeen {
  std::vector<UINT> Messages;
  std::vector<std::wstring> Reports;
  HWND HandleAtCreate = nullptr;
  HWND HandleAtDestroy = nullptr;
  bool Saw(UINT message) const {
    for (UINT seen : Messages)
      if (seen == message) return true;
    return false;
  }
};

constexpr UINT kThrowMessage = WM_APP + 1;
constexpr UINT kAnswerMessage = WM_APP + 2;
constexpr LRESULT kAnswer = 42;

class TTestWindow : public TWindow<TTestWindow> {
 public:
  static constexpr const wchar_t* kClassName = L"LintavoTestWindow";

  explicit TTestWindow(TSeen& seen, HWND parent = nullptr) : Seen_(seen) {
    CreateHandle({.Style = parent != nullptr ? WS_CHILD : WS_POPUP,
                  .Width = 50,
                  .Height = 50,
                  .Parent = parent});
  }
  void ReportError(const std::wstring& text) { Seen_.Reports.push_back(text); }
  void DestroyNow() { Destroy(); }

 private:
  friend class TWindow<TTestWindow>;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    Seen_.Messages.push_back(message);
    switch (message) {
      case WM_CREATE:
        Seen_.HandleAtCreate = Handle();
        return 0;
      case WM_DESTROY:
        Seen_.HandleAtDestroy = Handle();
        return 0;
      case kThrowMessage:
        throw std::runtime_error("Сбой в окне");
      case kAnswerMessage:
        return kAnswer;
    }
    return DefaultProc(message, wParam, lParam);
  }

  TSeen& Seen_;
};

TEST(WindowBase, TheObjectIsBoundFromCreationOn) {
  TSeen seen;
  const TTestWindow window(seen);
  ASSERT_NE(window.Handle(), nullptr);
  EXPECT_TRUE(seen.Saw(WM_NCCREATE));
  EXPECT_EQ(seen.HandleAtCreate, window.Handle());
  EXPECT_EQ(SendMessageW(window.Handle(), kAnswerMessage, 0, 0), kAnswer);
}

TEST(WindowBase, OneClassServesManyWindows) {
  TSeen first, second;
  const TTestWindow a(first), b(second);
  ASSERT_NE(a.Handle(), nullptr);
  ASSERT_NE(b.Handle(), nullptr);
  SendMessageW(b.Handle(), kAnswerMessage, 0, 0);
  EXPECT_FALSE(first.Saw(kAnswerMessage));
  EXPECT_TRUE(second.Saw(kAnswerMessage));
}

TEST(WindowBase, AnExceptionIsReportedAndTheWindowGoesOn) {
  TSeen seen;
  const TTestWindow window(seen);
  EXPECT_EQ(SendMessageW(window.Handle(), kThrowMessage, 0, 0), 0);
  EXPECT_EQ(seen.Reports, std::vector<std::wstring>{L"Сбой в окне"});
  EXPECT_EQ(SendMessageW(window.Handle(), kAnswerMessage, 0, 0), kAnswer);
}

TEST(WindowBase, DestroyRunsTheHandlersWhileTheWindowIsStillNamed) {
  TSeen seen;
  TTestWindow window(seen);
  const HWND handle = window.Handle();
  window.DestroyNow();
  EXPECT_EQ(seen.HandleAtDestroy, handle);
  EXPECT_TRUE(seen.Saw(WM_NCDESTROY));
  EXPECT_FALSE(IsWindow(handle));
  EXPECT_EQ(window.Handle(), nullptr);
}

TEST(WindowBase, DroppingTheObjectDestroysTheWindowWithoutReachingIt) {
  TSeen seen;
  auto window = std::make_unique<TTestWindow>(seen);
  const HWND handle = window->Handle();
  window.reset();
  EXPECT_FALSE(IsWindow(handle));
  EXPECT_FALSE(seen.Saw(WM_DESTROY));
}

TEST(WindowBase, AChildGoneWithItsParentIsNotDestroyedTwice) {
  TSeen parentSeen, childSeen;
  TTestWindow parent(parentSeen);
  TTestWindow child(childSeen, parent.Handle());
  ASSERT_NE(child.Handle(), nullptr);
  parent.DestroyNow();
  EXPECT_TRUE(childSeen.Saw(WM_NCDESTROY));
  EXPECT_EQ(child.Handle(), nullptr);
}

// A dialog of a class of its own: bound like the others, with the dialog manager's keys.
class TTestDialog : public TWindow<TTestDialog> {
 public:
  static constexpr const wchar_t* kClassName = L"LintavoTestDialog";
  static constexpr bool kDialog = true;

  explicit TTestDialog(TSeen& seen) : Seen_(seen) {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD));
    DLGTEMPLATE header{};
    header.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    header.cx = 100;
    header.cy = 50;
    memcpy(words.data(), &header, sizeof header);
    words.push_back(0);  // no menu
    for (const wchar_t* c = kClassName; *c != 0; ++c) words.push_back(*c);
    words.push_back(0);
    words.push_back(0);  // no caption
    CreateDialogHandle(reinterpret_cast<const DLGTEMPLATE*>(words.data()), nullptr);
  }

  TModalLoop Modal;

 private:
  friend class TWindow<TTestDialog>;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
      Seen_.Messages.push_back(LOWORD(wParam));
      Modal.End(LOWORD(wParam));
      return 0;
    }
    return DefaultProc(message, wParam, lParam);
  }

  TSeen& Seen_;
};

TEST(WindowBase, ADialogClassIsBoundAndKeepsTheDialogKeys) {
  TSeen seen;
  TTestDialog dialog(seen);
  ASSERT_NE(dialog.Handle(), nullptr);
  EXPECT_EQ(SendMessageW(dialog.Handle(), DM_GETDEFID, 0, 0) >> 16, DC_HASDEFID);
  PostMessageW(dialog.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  const int result = dialog.Modal.Run(
      dialog.Handle(), nullptr,
      [&](MSG& msg) { return IsDialogMessageW(dialog.Handle(), &msg) != FALSE; }, -1);
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(seen.Messages, std::vector<UINT>{IDCANCEL});
  EXPECT_FALSE(IsWindowVisible(dialog.Handle()));
}

TEST(ModalLoop, AQuitRequestEndsTheLoopAndStaysForTheMainLoop) {
  TSeen seen;
  TTestWindow window(seen);
  TModalLoop modal;
  PostQuitMessage(7);
  EXPECT_EQ(modal.Run(window.Handle(), nullptr, nullptr, 2), 2);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST(ModalLoop, OtherWindowsTakeNoInputWhileItRuns) {
  TSeen otherSeen, modalSeen;
  TTestWindow other(otherSeen), modal(modalSeen);
  ShowWindow(other.Handle(), SW_SHOW);
  TModalLoop loop;
  bool otherEnabledDuring = true;
  PostMessageW(modal.Handle(), kAnswerMessage, 0, 0);
  const int result = loop.Run(
      modal.Handle(), nullptr,
      [&](MSG& msg) {
        if (msg.message != kAnswerMessage) return false;
        otherEnabledDuring = IsWindowEnabled(other.Handle()) != FALSE;
        loop.End(5);
        return true;
      },
      2);
  EXPECT_EQ(result, 5);
  EXPECT_FALSE(otherEnabledDuring);
  EXPECT_TRUE(IsWindowEnabled(other.Handle()));
}

// A control of the system's with the program's handlers on top.
class TTestList : public TWindow<TTestList> {
 public:
  static constexpr const wchar_t* kClassName = L"LintavoTestList";
  static constexpr const wchar_t* kBaseClass = L"LISTBOX";

  explicit TTestList(TSeen& seen) : Seen_(seen) {
    CreateHandle({.Style = WS_POPUP | LBS_HASSTRINGS, .Width = 80, .Height = 80});
  }

 private:
  friend class TWindow<TTestList>;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kAnswerMessage) return kAnswer;
    if (message == LB_ADDSTRING) Seen_.Messages.push_back(message);
    return DefaultProc(message, wParam, lParam);
  }

  TSeen& Seen_;
};

TEST(WindowBase, ASystemControlKeepsItsOwnBehaviourUnderTheProgramsHandlers) {
  TSeen seen;
  const TTestList list(seen);
  ASSERT_NE(list.Handle(), nullptr);
  SendMessageW(list.Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"COM 1"));
  SendMessageW(list.Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"COM 2"));
  EXPECT_EQ(SendMessageW(list.Handle(), LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(seen.Messages.size(), 2u);
  EXPECT_EQ(SendMessageW(list.Handle(), kAnswerMessage, 0, 0), kAnswer);
}

}  // namespace
