// The main window's toolbar on a real window, laid out as the main window lays it out when
// widened: a press lands on the button whose pixels it hits, and nowhere else.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/unique_handle_win.h"
#include "tests/support/menu_watcher.h"
#include "tests/support/message_pump.h"
#include "tests/support/queue_fence.h"
#include "ui/main_window/toolbar_look.h"
#include "ui/main_window/toolbar_win.h"
#include "ui/shell/window_win.h"

namespace {

constexpr int kWidened = 600;
constexpr int kSetupCommand = 1010;
constexpr int kExitCommand = 1002;

// The toolbar's parent, keeping the commands it is sent.
class TToolBarHost : public TWindow<TToolBarHost> {
 public:
  static constexpr const wchar_t* kClassName = L"LintavoToolBarTestHost";

  TToolBarHost() {
    CreateHandle({.Caption = L"Панель",
                  .Style = WS_OVERLAPPEDWINDOW,
                  .Left = 100,
                  .Top = 100,
                  .Width = kWidened,
                  .Height = 260});
  }

  std::vector<int> Commands;

 private:
  friend class TWindow<TToolBarHost>;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) Commands.push_back(LOWORD(wParam));
    return DefaultProc(message, wParam, lParam);
  }
};

// A picture of one colour, for a glyph (its bottom-left pixel is the transparent colour) or
// the wallpaper.
TUniqueBitmap Picture(int size, COLORREF colour) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, size, 1, 32, BI_RGB};
  void* bits = nullptr;
  TUniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  auto* pixels = static_cast<DWORD*>(bits);
  for (int i = 0; i < size * size; ++i)
    pixels[i] = GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
  return bitmap;
}

struct TEdgeCase {
  const char* Name;
  int FromRight;  // the press at x = outer width - FromRight, in the toolbar
  enum { Nothing, Exit, HelpDropDown } Effect;
};

class ToolBarEdges : public testing::TestWithParam<TEdgeCase> {
 protected:
  void SetUp() override {
    ASSERT_NE(Host.Handle(), nullptr);
    Menu_.Reset(CreatePopupMenu());
    AppendMenuW(Menu_.Get(), MF_STRING, 1, L"Главное окно");
    std::vector<TToolButtonInfo> buttons;
    buttons.push_back({kSetupCommand, L"Установки", L"", Picture(32, RGB(255, 0, 255)), nullptr, 3});
    buttons.push_back({0, L"Справка", L"", Picture(32, RGB(255, 0, 255)), Menu_.Get(),
                       HelpButtonLeft(kWidened)});
    buttons.push_back({kExitCommand, L"Выход", L"", Picture(32, RGB(255, 0, 255)), nullptr,
                       ExitButtonLeft(kWidened)});
    Font_.Reset(CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, RUSSIAN_CHARSET, 0, 0,
                            0, 0, L"MS Sans Serif"));
    Bar = TToolBar::Create(Host.Handle(), Font_.Get(), Picture(8, RGB(192, 192, 192)),
                           std::move(buttons));
    ASSERT_TRUE(Bar);
    ShowWindow(Host.Handle(), SW_SHOWNOACTIVATE);
  }

  // Presses and releases the left button at x in the toolbar, as the mouse does.
  void Click(int x) {
    const LPARAM at = MAKELPARAM(x, kToolButtonTop + kToolButtonHeight / 2);
    PostMessageW(Bar->Handle(), WM_MOUSEMOVE, 0, at);
    PostMessageW(Bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(Bar->Handle(), WM_LBUTTONUP, 0, at);
  }

  TToolBarHost Host;
  TUniqueMenu Menu_;
  TUniqueFont Font_;
  std::unique_ptr<TToolBar> Bar;
  TQueueFence Fence;
};

TEST_P(ToolBarEdges, APressTakesTheButtonItsPixelBelongsTo) {
  const TEdgeCase& c = GetParam();
  TMenuWatcher watcher({VK_ESCAPE});
  Click(kWidened - c.FromRight);
  // Once the fence has passed, the press and release have been handled; a drop-down that
  // opened is still up or was closed by the watcher.
  const int fence = Fence.Post();
  ASSERT_TRUE(PumpUntil([&] { return Fence.Passed(fence); }));
  const bool menuUp = VisiblePopupMenu() != nullptr;
  watcher.StopWatching();
  EXPECT_EQ(watcher.Seen() || menuUp, c.Effect == TEdgeCase::HelpDropDown);
  EXPECT_EQ(Host.Commands,
            c.Effect == TEdgeCase::Exit ? std::vector<int>{kExitCommand} : std::vector<int>{});
}

INSTANTIATE_TEST_SUITE_P(
    Widened, ToolBarEdges,
    testing::Values(TEdgeCase{"ExitLastPixelIsElevenFromTheEdge", 11, TEdgeCase::Exit},
                    TEdgeCase{"TenPixelsFromTheEdgeIsNoButton", 10, TEdgeCase::Nothing},
                    TEdgeCase{"ExitFirstPixel", 74, TEdgeCase::Exit},
                    TEdgeCase{"HelpLastPixelJustLeftOfExit", 75, TEdgeCase::HelpDropDown},
                    TEdgeCase{"HelpFirstPixel", 138, TEdgeCase::HelpDropDown}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
