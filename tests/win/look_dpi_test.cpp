// A window dragged to a screen of another DPI lays itself out again: the system tells it
// with WM_DPICHANGED, which the tests send as the system would. And controls on the setup
// dialog's themed pages show the page, not the dialog's grey.
#include <gtest/gtest.h>
#include <windows.h>
#include <uxtheme.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "tests/support/rect_compare.h"
#include "tests/support/window_rect.h"
#include "tests/support/window_text.h"
#include "tests/win/look_windows.h"
#include "ui/dialogs/message_dialog_win.h"
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

// --- the main window -------------------------------------------------------------------------

HWND ToolBarOf(HWND main) { return FindWindowExW(main, nullptr, L"LintavoToolBar", nullptr); }

SIZE MinimumSize(HWND main) {
  MINMAXINFO info{};
  SendMessageW(main, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  return {info.ptMinTrackSize.x, info.ptMinTrackSize.y};
}

// What the main window's layout gives at one DPI, to compare with another.
struct TMainLayout {
  int ToolBarHeight;
  RECT Label;
  LONG FontHeight;
  SIZE Minimum;
};

TMainLayout LayoutOf(HWND main) {
  const std::vector<HWND> labels = ChildrenOfClass(main, L"Static");
  const auto font = labels.empty() ? std::nullopt : FontOf(labels[0]);
  return {ClientSize(ToolBarOf(main)).cy, labels.empty() ? RECT{} : PlaceOf(labels[0]),
          font ? font->lfHeight : 0, MinimumSize(main)};
}

TEST(DpiChange, MainWindowGrowsToTheNewDpiAndBack) {
  const TMainWindowInProcess main;
  const HWND window = main.Handle();
  const TMainLayout at96 = LayoutOf(window);
  ASSERT_NE(at96.FontHeight, 0);

  const RECT suggested144{30, 40, 30 + 512, 40 + 300};
  ChangeDpi(window, 144, suggested144);
  EXPECT_EQ(OuterRect(window), suggested144);
  const TMainLayout at144 = LayoutOf(window);
  EXPECT_GT(at144.ToolBarHeight, at96.ToolBarHeight);
  EXPECT_EQ(ClientSize(ToolBarOf(window)).cx, ClientSize(window).cx);
  EXPECT_GT(at144.Label.left, at96.Label.left);
  EXPECT_GT(at144.Label.top, at96.Label.top);
  EXPECT_GT(at144.Label.right - at144.Label.left, at96.Label.right - at96.Label.left);
  EXPECT_LT(at144.FontHeight, at96.FontHeight) << "the font did not grow";
  EXPECT_GT(at144.Minimum.cx, at96.Minimum.cx);
  EXPECT_GT(at144.Minimum.cy, at96.Minimum.cy);

  const RECT suggested96{30, 40, 30 + 341, 40 + 200};
  ChangeDpi(window, 96, suggested96);
  EXPECT_EQ(OuterRect(window), suggested96);
  const TMainLayout back = LayoutOf(window);
  EXPECT_EQ(back.ToolBarHeight, at96.ToolBarHeight);
  EXPECT_EQ(back.Label, at96.Label);
  EXPECT_EQ(back.FontHeight, at96.FontHeight);
  EXPECT_EQ(back.Minimum.cx, at96.Minimum.cx);
  EXPECT_EQ(back.Minimum.cy, at96.Minimum.cy);
}

// --- the setup dialog ------------------------------------------------------------------------

std::unique_ptr<TSetupForm> MakeSetupForm() {
  return TSetupForm::Create([](int) { return false; });
}

// Within a pixel or two of one and a half times.
bool OneAndAHalf(int at96, int at144) { return std::abs(at96 * 3 / 2 - at144) <= 2; }

TEST(DpiChange, SetupDialogLaysItsPagesOutAgain) {
  const auto form = MakeSetupForm();
  ASSERT_NE(form, nullptr);
  const HWND dialog = form->Handle();
  const auto item = [&](int id) { return GetDlgItem(dialog, id); };
  const SIZE client = ClientSize(dialog);
  const RECT ok = PlaceOf(item(TSetupForm::kOkButtonId));
  const RECT list = PlaceOf(item(TSetupForm::kPortListId));
  const LRESULT rowHeight = SendMessageW(item(TSetupForm::kPortListId), LB_GETITEMHEIGHT, 0, 0);
  const LONG font = FontOf(item(TSetupForm::kMinimizeId))->lfHeight;

  ChangeDpi(dialog, 144, {50, 60, 900, 900});
  // The system's suggestion places the dialog; its size is the dialog's own.
  EXPECT_EQ(OuterRect(dialog).left, 50);
  EXPECT_EQ(OuterRect(dialog).top, 60);
  EXPECT_TRUE(OneAndAHalf(client.cx, ClientSize(dialog).cx)) << ClientSize(dialog).cx;
  EXPECT_TRUE(OneAndAHalf(client.cy, ClientSize(dialog).cy)) << ClientSize(dialog).cy;
  const RECT ok144 = PlaceOf(item(TSetupForm::kOkButtonId));
  EXPECT_TRUE(OneAndAHalf(ok.left, ok144.left) && OneAndAHalf(ok.top, ok144.top)) << ok144;
  EXPECT_TRUE(OneAndAHalf(ok.right - ok.left, ok144.right - ok144.left)) << ok144;
  const RECT list144 = PlaceOf(item(TSetupForm::kPortListId));
  EXPECT_TRUE(OneAndAHalf(list.right - list.left, list144.right - list144.left)) << list144;
  EXPECT_GT(SendMessageW(item(TSetupForm::kPortListId), LB_GETITEMHEIGHT, 0, 0), rowHeight);
  EXPECT_LT(FontOf(item(TSetupForm::kMinimizeId))->lfHeight, font) << "the font did not grow";
}

// --- the message dialog ----------------------------------------------------------------------

TEST(DpiChange, MessageDialogScalesAsBuilt) {
  const auto form =
      BuildMessageForm(kQuestionExit, MessageKind::Exit, {MessageButton::Yes, MessageButton::No});
  const HWND dialog = form->Handle();
  const SIZE before = ClientSize(dialog);
  const HWND image = GetDlgItem(dialog, kMessageImageId);
  const HWND label = GetDlgItem(dialog, kMessageLabelId);
  const RECT imageBefore = PlaceOf(image);
  const LONG fontBefore = FontOf(label)->lfHeight;

  ChangeDpi(dialog, 144, {10, 10, 2000, 2000});
  EXPECT_TRUE(OneAndAHalf(before.cx, ClientSize(dialog).cx));
  EXPECT_TRUE(OneAndAHalf(before.cy, ClientSize(dialog).cy));
  const RECT imageAfter = PlaceOf(image);
  EXPECT_TRUE(OneAndAHalf(imageBefore.right - imageBefore.left, imageAfter.right - imageAfter.left))
      << imageAfter;
  EXPECT_LE(std::abs(FontOf(label)->lfHeight - fontBefore * 3 / 2), 1);
  const RECT yes = PlaceOf(GetDlgItem(dialog, kMessageButtonIdBase));
  EXPECT_LE(yes.bottom, ClientSize(dialog).cy);  // the buttons stay inside
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
