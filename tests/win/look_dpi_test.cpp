// A window dragged to a screen of another DPI lays itself out again: the system tells it
// with WM_DPICHANGED, which the tests send as the system would. And controls on the setup
// dialog's themed pages show the page, not the dialog's grey.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "tests/support/window_text.h"
#include "tests/win/look_windows.h"
#include "ui/dialogs/message_dialog_win.h"
#include "ui/main_window/toolbar_look.h"
#include "ui/setup/setup_form_win.h"
#include "ui/shell/display_win.h"
#include "ui/shell/gdi_win.h"
#include "ui/shell/texts.h"

namespace {

constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED

// What the system sends a window that moved to a screen of `dpi`.
void ChangeDpi(HWND window, int dpi, RECT suggested) {
  SendMessageW(window, kDpiChanged, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

SIZE ClientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

BOOL CALLBACK Collect(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> TopLevelWindowsOfThread() {
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

RECT OuterRect(HWND window) {
  RECT outer{};
  GetWindowRect(window, &outer);
  return outer;
}

// A child's rectangle in its parent's client area: left, top, width, height.
RECT PlaceOf(HWND child) {
  RECT r = OuterRect(child);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Describe(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

// --- the main window -------------------------------------------------------------------------

HWND ToolBarOf(HWND main) { return FindWindowExW(main, nullptr, L"LintavoToolBar", nullptr); }

// The rectangle of a toolbar button as its tooltip knows it. The tooltip is a popup made
// with the bar as its parent, so the window that owns it is the bar's top-level window.
RECT ToolRect(HWND main, int index) {
  HWND tooltip = nullptr;
  for (HWND window : TopLevelWindowsOfThread()) {
    if (ClassName(window) == TOOLTIPS_CLASSW && GetWindow(window, GW_OWNER) == main)
      tooltip = window;
  }
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  if (tooltip == nullptr ||
      !SendMessageW(tooltip, TTM_ENUMTOOLSW, index, reinterpret_cast<LPARAM>(&tool)))
    return {};
  return tool.rect;
}

SIZE MinimumSize(HWND main) {
  MINMAXINFO info{};
  SendMessageW(main, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  return {info.ptMinTrackSize.x, info.ptMinTrackSize.y};
}

TEST(DpiChange, MainWindowGrowsToTheNewDpiAndBack) {
  const TMainWindowInProcess main;
  const HWND window = main.Handle();
  ASSERT_EQ(ClientSize(ToolBarOf(window)).cy, kToolBarHeight);

  const RECT at144{30, 40, 30 + 512, 40 + 300};
  ChangeDpi(window, 144, at144);
  EXPECT_TRUE(SameRect(OuterRect(window), at144)) << Describe(OuterRect(window));
  EXPECT_EQ(ClientSize(ToolBarOf(window)).cy, 5 + 77 + 5);
  EXPECT_EQ(ClientSize(ToolBarOf(window)).cx, ClientSize(window).cx);
  // Each button where its tooltip is: the setup button designed at 3, the exit button 10
  // (15 at 144 DPI) inside the outer right edge.
  EXPECT_TRUE(SameRect(ToolRect(window, 0), {5, 5, 5 + 96, 5 + 77}))
      << Describe(ToolRect(window, 0));
  EXPECT_EQ(ToolRect(window, 2).right, 512 - 15);
  const std::vector<HWND> labels = ChildrenOfClass(window, L"Static");
  ASSERT_EQ(labels.size(), 4u);
  // Label1 designed at 48, 40 below the toolbar; ComPortLabel at 150, 64.
  EXPECT_EQ(PlaceOf(labels[0]).left, 72);
  EXPECT_EQ(PlaceOf(labels[0]).top, 87 + 60);
  EXPECT_EQ(PlaceOf(labels[3]).left, 225);
  EXPECT_EQ(PlaceOf(labels[3]).top, 87 + 96);
  ASSERT_TRUE(FontOf(labels[0]).has_value());
  EXPECT_EQ(FontOf(labels[0])->lfHeight, -16);
  EXPECT_EQ(MinimumSize(window).cx, 512);
  EXPECT_EQ(MinimumSize(window).cy, 300);

  const RECT at96{30, 40, 30 + 341, 40 + 200};
  ChangeDpi(window, 96, at96);
  EXPECT_TRUE(SameRect(OuterRect(window), at96)) << Describe(OuterRect(window));
  EXPECT_EQ(ClientSize(ToolBarOf(window)).cy, kToolBarHeight);
  EXPECT_EQ(PlaceOf(labels[0]).left, 48);
  EXPECT_EQ(PlaceOf(labels[0]).top, kToolBarHeight + 40);
  EXPECT_EQ(FontOf(labels[0])->lfHeight, -11);
  EXPECT_EQ(MinimumSize(window).cx, 341);
}

// --- the setup dialog ------------------------------------------------------------------------

std::unique_ptr<TSetupForm> MakeSetupForm() {
  return TSetupForm::Create([](int) { return false; });
}

TEST(DpiChange, SetupDialogLaysItsPagesOutAgain) {
  const auto form = MakeSetupForm();
  ASSERT_NE(form, nullptr);
  const HWND dialog = form->Handle();
  ASSERT_EQ(ClientSize(dialog).cx, TSetupForm::kClientWidth);

  ChangeDpi(dialog, 144, {50, 60, 900, 900});
  EXPECT_EQ(ClientSize(dialog).cx, 488);
  EXPECT_EQ(ClientSize(dialog).cy, 420);
  // The system's suggestion places the dialog; its size is the dialog's own.
  EXPECT_EQ(OuterRect(dialog).left, 50);
  EXPECT_EQ(OuterRect(dialog).top, 60);

  const RECT ok = PlaceOf(GetDlgItem(dialog, TSetupForm::kOkButtonId));
  EXPECT_EQ(ok.left, 114);
  EXPECT_EQ(ok.top, 371);    // (239 + 8) x 1.5, rounded
  EXPECT_EQ(ok.right, 114);  // the width
  EXPECT_EQ(ok.bottom, 41);  // the height
  const RECT minimize = PlaceOf(GetDlgItem(dialog, TSetupForm::kMinimizeId));
  EXPECT_EQ(minimize.right, 374);
  EXPECT_EQ(minimize.bottom, 26);
  // The port list inside its group: 8, 16 from the group's corner, each scaled.
  const RECT group = PlaceOf(GetDlgItem(dialog, TSetupForm::kPortGroupId));
  const RECT list = PlaceOf(GetDlgItem(dialog, TSetupForm::kPortListId));
  EXPECT_EQ(list.left - group.left, 12);
  EXPECT_EQ(list.top - group.top, 24);
  EXPECT_EQ(list.right, 410);
  EXPECT_EQ(SendDlgItemMessageW(dialog, TSetupForm::kPortListId, LB_GETITEMHEIGHT, 0, 0), 20);

  EXPECT_EQ(FontOf(GetDlgItem(dialog, TSetupForm::kMinimizeId))->lfHeight, -16);
  EXPECT_EQ(FontOf(GetDlgItem(dialog, TSetupForm::kPortGroupId))->lfHeight, -18);
}

// --- the message dialog ----------------------------------------------------------------------

TEST(DpiChange, MessageDialogScalesAsBuilt) {
  const auto form =
      BuildMessageForm(kQuestionExit, MessageKind::Exit, {MessageButton::Yes, MessageButton::No});
  const HWND dialog = form->Handle();
  const SIZE before = ClientSize(dialog);
  const HWND image = GetDlgItem(dialog, kMessageImageId);
  const HWND label = GetDlgItem(dialog, kMessageLabelId);
  ASSERT_EQ(PlaceOf(image).right, 32);
  const LONG fontBefore = FontOf(label)->lfHeight;

  ChangeDpi(dialog, 144, {10, 10, 2000, 2000});
  EXPECT_LE(std::abs(ClientSize(dialog).cx - before.cx * 3 / 2), 1);
  EXPECT_LE(std::abs(ClientSize(dialog).cy - before.cy * 3 / 2), 1);
  EXPECT_EQ(PlaceOf(image).right, 48);
  EXPECT_EQ(PlaceOf(image).bottom, 48);
  EXPECT_LE(std::abs(FontOf(label)->lfHeight - fontBefore * 3 / 2), 1);
  const RECT yes = PlaceOf(GetDlgItem(dialog, kMessageButtonIdBase));
  EXPECT_LE(yes.top + yes.bottom, ClientSize(dialog).cy);  // the buttons stay inside
}

// --- themed pages ----------------------------------------------------------------------------

// What a window paints into its client area, read at a point: it paints into a picture of
// the test's own, through the code that paints it on the screen.
COLORREF PrintedPixel(HWND window, POINT at) {
  RECT client{};
  GetClientRect(window, &client);
  const TScreenDc screen;
  const TMemoryDc surface(screen.Get());
  const TUniqueBitmap picture(CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
  const TSelectObjectScope select(surface.Get(), picture.Get());
  const TUniqueBrush unpainted(CreateSolidBrush(RGB(1, 2, 3)));
  FillRect(surface.Get(), &client, unpainted.Get());
  SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.Get()),
               PRF_CLIENT | PRF_ERASEBKGND);
  return GetPixel(surface.Get(), at.x, at.y);
}

// The setup dialog on a page, its controls over the themed tab control.
class ThemedPage : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(Form, nullptr);
    Pages = GetDlgItem(Form->Handle(), TSetupForm::kPagesId);
    ASSERT_NE(GetWindowTheme(Pages), nullptr) << "the tab control is not themed";
  }
  // A control's own background right of its text (its last pixels but two), and the page
  // the tab control paints under that point.
  void ExpectShowsThePage(int id) const {
    const HWND control = GetDlgItem(Form->Handle(), id);
    RECT r{};
    GetClientRect(control, &r);
    POINT at{r.right - 3, r.bottom / 2};
    const COLORREF shown = PrintedPixel(control, at);
    MapWindowPoints(control, Pages, &at, 1);
    const COLORREF page = PrintedPixel(Pages, at);
    // The themed page differs from the dialog's face, or nothing here could be seen.
    ASSERT_NE(page, GetSysColor(COLOR_BTNFACE)) << id;
    EXPECT_EQ(shown, page) << "control " << id << " paints a box of its own";
  }

  std::unique_ptr<TSetupForm> Form = MakeSetupForm();
  HWND Pages = nullptr;
};

TEST_F(ThemedPage, LabelsAndCheckBoxesShowThePageBehindThem) {
  Form->LoadFromSettings(1);
  for (const int id : {TSetupForm::kMinimizeId, TSetupForm::kQuestionId, TSetupForm::kOneCopyId})
    ExpectShowsThePage(id);
  Form->LoadFromSettings(2);
  ExpectShowsThePage(TSetupForm::kReaderTypeLabelId);
  Form->LoadFromSettings(3);
  for (const int id : {TSetupForm::kFormatLabelId, TSetupForm::kSuffixLabelId,
                       TSetupForm::kNoCaretTypingId})
    ExpectShowsThePage(id);
}

}  // namespace
