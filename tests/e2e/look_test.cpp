// The real Lintavo.exe at 96 and at 144 DPI, started once at each: the main window, the
// setup dialog with its three pages and the tray menu are one and a half times as large at
// 144 DPI, and no caption is cut at either. Pictures of each are left in kShotsDir to look
// at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/e2e/lintavo_instance.h"
#include "tests/e2e/main_window_driver.h"
#include "tests/support/log_pixels.h"
#include "tests/support/menu_watcher.h"
#include "tests/support/screen_pixels.h"
#include "tests/support/setup_dialog_driver.h"
#include "tests/support/wait.h"
#include "tests/support/window_classes.h"
#include "tests/support/window_text.h"
#include "ui/main_window/resource_ids.h"
#include "ui/main_window/toolbar_look.h"
#include "ui/setup/setup_form_win.h"
#include "ui/shell/designed_font_win.h"
#include "ui/shell/dpi_scale.h"
#include "ui/shell/gdi_win.h"
#include "ui/shell/texts.h"
#include "ui/tray/tray_icon.h"
#include "ui/tray/tray_icon_win.h"

namespace {

using e2e::TLintavoInstance;

constexpr wchar_t kShotsDir[] = L"Z:\\tmp\\lintavo-look-e2e";
constexpr DWORD kLong = 15'000;

// --- what the screen at a DPI gives, asked of the system for that DPI -------------------------

template <typename Function>
Function User32(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int MetricAt(int index, int dpi) {
  static const auto forDpi = User32<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
  return forDpi != nullptr ? forDpi(index, dpi) : MulDiv(GetSystemMetrics(index), dpi, 96);
}

LOGFONTW CaptionFontAt(int dpi) {
  static const auto forDpi =
      User32<BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT)>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (forDpi == nullptr || !forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfCaptionFont.lfHeight = MulDiv(metrics.lfCaptionFont.lfHeight, dpi, 96);
  }
  return metrics.lfCaptionFont;
}

// The width a text takes in the font, on one line.
int TextWidth(const std::wstring& text, const LOGFONTW& logFont) {
  const TScreenDc screen;
  const TUniqueFont font(CreateFontIndirectW(&logFont));
  const TSelectObjectScope select(screen.Get(), font.Get());
  RECT r{0, 0, 0, 0};
  DrawTextW(screen.Get(), text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
  return r.right - r.left;
}

std::wstring WithoutAccelerators(std::wstring text) {
  std::erase(text, L'&');
  return text;
}

// --- where things are ---------------------------------------------------------------------------

SIZE OuterSize(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

SIZE ClientSize(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return {r.right, r.bottom};
}

// A child's rectangle in its parent's client area.
RECT PlaceOf(HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool SamePicture(const TScreenPixels& a, const TScreenPixels& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.At(x, y) != b.At(x, y)) return false;
  return true;
}

// The window's picture, left to look at once the screen shows it settled (its controls
// paint a moment after it shows): two looks a little apart agree.
void SaveShot(HWND window, const std::wstring& name) {
  std::filesystem::create_directories(kShotsDir);
  RECT r{};
  GetWindowRect(window, &r);
  TScreenPixels shown(r);
  WaitUntil(
      [&] {
        Sleep(150);
        TScreenPixels again(r);
        const bool settled = SamePicture(shown, again);
        shown = std::move(again);
        return settled;
      },
      5000);
  shown.SaveBitmap(std::filesystem::path(kShotsDir) / (name + L".bmp"));
}

std::string Narrow(const std::wstring& text) {
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, narrow.data(), length, nullptr, nullptr);
  narrow.resize(static_cast<std::size_t>(length > 0 ? length - 1 : 0));
  return narrow;
}

// --- what one start shows ---------------------------------------------------------------------

struct TLook {
  SIZE Main{};
  int ToolBarHeight = 0;
  SIZE SetupClient{};
  // Each page's visible controls by id, in the dialog's client area.
  std::vector<std::map<int, RECT>> SetupPages;
  SIZE TrayMenu{};
};

// The title in the caption font of the DPI, beside the small icon and the caption buttons
// (minimise, the greyed maximise and close), inside the frame.
void ExpectTitleFits(HWND main, int dpi) {
  const int needed = TextWidth(kApplicationTitle, CaptionFontAt(dpi)) + MetricAt(SM_CXSMICON, dpi) +
                     3 * MetricAt(SM_CXSIZE, dpi) + 2 * MetricAt(SM_CXFRAME, dpi) +
                     2 * MetricAt(SM_CXEDGE, dpi);
  EXPECT_LE(needed, OuterSize(main).cx) << "the title is cut at " << dpi << " DPI";
}

// Each label inside the window, and each in the font of the DPI wide enough for its text.
void ExpectLabelsFit(HWND main, int dpi, int toolBarHeight) {
  const std::vector<HWND> labels = ChildrenOfClass(main, L"Static");
  ASSERT_EQ(labels.size(), 4u);
  const int designedLeft[] = {48, 7, 150, 150};
  const int designedTop[] = {40, 64, 40, 64};
  const LOGFONTW font = DesignedLogFont(kDesignedFontPoints, dpi);
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const RECT r = PlaceOf(labels[i]);
    EXPECT_EQ(r.left, ScaleToDpi(designedLeft[i], dpi)) << i;
    EXPECT_EQ(r.top, toolBarHeight + ScaleToDpi(designedTop[i], dpi)) << i;
    EXPECT_LE(r.right, ClientSize(main).cx) << "label " << i << " runs out of the window";
    EXPECT_LE(TextWidth(WindowText(labels[i]), font), r.right - r.left) << i;
  }
}

// Every visible control with a caption holds its caption in the font of the DPI.
void ExpectCaptionsFit(HWND dialog, int dpi, const std::wstring& page) {
  const LOGFONTW font = DesignedLogFont(kDesignedFontPoints, dpi);
  const LOGFONTW groupFont = DesignedLogFont(9, dpi);
  for (HWND child : ChildWindows(dialog)) {
    const std::wstring text = WindowText(child);
    if (!IsWindowVisible(child) || text.empty()) continue;
    const std::wstring kind = ClassName(child);
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    const int width = PlaceOf(child).right - PlaceOf(child).left;
    int needed = TextWidth(WithoutAccelerators(text), font);
    if (kind == L"Button" && (style & BS_TYPEMASK) == BS_GROUPBOX) {
      needed = TextWidth(text, groupFont) + ScaleToDpi(16, dpi);
    } else if (kind == L"Button" && (style & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
      needed += ScaleToDpi(16, dpi);  // the box and the gap after it
    } else if (kind == L"Button") {
      needed += ScaleToDpi(8, dpi);  // the button's edges
    } else if (kind != L"Static") {
      continue;  // the tabs, drop-downs and list size their texts themselves
    }
    EXPECT_LE(needed, width) << Narrow(text) << " on page " << Narrow(page) << " at " << dpi;
  }
}

void WalkMainWindow(const TLintavoInstance& lintavo, HWND main, int dpi, TLook& look) {
  look.Main = OuterSize(main);
  EXPECT_EQ(look.Main.cx, ScaleToDpi(341, dpi));
  EXPECT_EQ(look.Main.cy, ScaleToDpi(200, dpi));
  const HWND bar = e2e::ToolBarOf(main);
  ASSERT_NE(bar, nullptr);
  look.ToolBarHeight = ClientSize(bar).cy;
  EXPECT_EQ(look.ToolBarHeight, ToolBarMetricsAtDpi(dpi).BarHeight);
  ASSERT_TRUE(lintavo.WaitForPortLabel(L"COM2 - Порт открыт", kLong));
  ExpectTitleFits(main, dpi);
  ExpectLabelsFit(main, dpi, look.ToolBarHeight);
  SaveShot(main, L"main-" + std::to_wstring(dpi));
}

void WalkSetupPages(const TLintavoInstance& lintavo, int dpi, TLook& look) {
  const struct {
    int Command;
    const wchar_t* Name;
  } pages[] = {{IDM_SETUP_VIEW, kSetupViewPage},
               {IDM_SETUP_READER, kSetupReaderPage},
               {IDM_SETUP_OUTPUT, kSetupOutputPage}};
  for (const auto& page : pages) {
    const HWND dialog = e2e::OpenSetupDialog(lintavo, page.Command, kLong);
    ASSERT_NE(dialog, nullptr) << Narrow(page.Name);
    look.SetupClient = ClientSize(dialog);
    EXPECT_EQ(look.SetupClient.cx, ScaleToDpi(TSetupForm::kClientWidth, dpi));
    EXPECT_EQ(look.SetupClient.cy, ScaleToDpi(TSetupForm::kClientHeight, dpi));
    std::map<int, RECT>& controls = look.SetupPages.emplace_back();
    for (HWND child : ChildWindows(dialog)) {
      if (IsWindowVisible(child) && GetParent(child) == dialog)
        controls[GetDlgCtrlID(child)] = PlaceOf(child);
    }
    ExpectCaptionsFit(dialog, dpi, page.Name);
    SaveShot(dialog, L"setup-" + std::to_wstring(page.Command - IDM_SETUP_VIEW + 1) + L"-" +
                         std::to_wstring(dpi));
    TSetupDialogDriver setup(dialog);
    setup.Press(TSetupForm::kCancelButtonId);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kLong));
  }
}

// The colour at a point of a window's client area, as the screen shows it.
COLORREF ClientPixel(HWND window, int x, int y) {
  POINT point{x, y};
  ClientToScreen(window, &point);
  return TScreenPixels({point.x, point.y, point.x + 1, point.y + 1}).At(0, 0);
}

void WalkTrayMenu(const TLintavoInstance& lintavo, int dpi, TLook& look) {
  const HWND icon = lintavo.WaitForTopLevel(kTrayIconWindowClass, nullptr, kLong);
  ASSERT_NE(icon, nullptr);
  SetCursorPos(200, 150);
  PostMessageW(icon, kTrayIconMessage, kTrayIconId, kRightButtonDown);
  PostMessageW(icon, kTrayIconMessage, kTrayIconId, kRightButtonUp);
  const HWND popup = WaitForWindow(&VisiblePopupMenu, kLong);
  ASSERT_NE(popup, nullptr) << "the tray menu did not open at " << dpi;
  // The band as wide as designed at the DPI, its etched edge in its last two columns; its
  // first colour shows near the top once the items are painted (the system's frame of a
  // few pixels lies over its outer edge).
  const int band = ScaleToDpi(24, dpi);
  EXPECT_TRUE(
      WaitUntil([&] { return ClientPixel(popup, band - 4, 4) == RGB(255, 255, 0); }, kLong));
  look.TrayMenu = ClientSize(popup);
  // Four commands, each as high as its picture and a designed four pixels, and the
  // separator, within the frame.
  const int items = 4 * (ScaleToDpi(32, dpi) + ScaleToDpi(4, dpi)) + ScaleToDpi(9, dpi);
  EXPECT_GE(look.TrayMenu.cy, items);
  EXPECT_LE(look.TrayMenu.cy, items + 8);
  EXPECT_EQ(ClientPixel(popup, band - 2, 20), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(ClientPixel(popup, band - 1, 20), GetSysColor(COLOR_BTNHIGHLIGHT));
  SaveShot(popup, L"tray-menu-" + std::to_wstring(dpi));
  PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(popup); }, kLong));
}

// One start of the program at the DPI, walked through its windows.
void WalkAt(int dpi, TLook& look) {
  TLintavoInstance lintavo(L"look " + std::to_wstring(dpi));
  lintavo.WriteIni("[SETTINGS]\r\nMinimizeOnRun=0\r\nCheckExit=0\r\nPortNumber=2\r\n");
  HWND main = nullptr;
  {
    // The program reads the DPI as it starts; the prefix has its own back at once after.
    TLogPixels pixels(static_cast<DWORD>(dpi));
    ASSERT_TRUE(pixels.Set());
    ASSERT_TRUE(lintavo.Start());
    main = lintavo.MainWindow(kLong);
  }
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, kLong));
  WalkMainWindow(lintavo, main, dpi, look);
  WalkSetupPages(lintavo, dpi, look);
  WalkTrayMenu(lintavo, dpi, look);
  e2e::PostMenuCommand(main, IDM_FILE_EXIT);
  EXPECT_EQ(lintavo.WaitForExit(kLong), 0u);
}

// Within a pixel or two of one and a half times: the tabs' height, which places the pages,
// follows the font, whose height rounds on its own.
bool OneAndAHalf(int at96, int at144, int slack) { return std::abs(at96 * 3 / 2 - at144) <= slack; }

TEST(Look, OneAndAHalfTimesAsLargeAt144Dpi) {
  TLook at96, at144;
  WalkAt(96, at96);
  ASSERT_FALSE(HasFatalFailure());
  WalkAt(144, at144);
  ASSERT_FALSE(HasFatalFailure());

  EXPECT_TRUE(OneAndAHalf(at96.Main.cx, at144.Main.cx, 1));
  EXPECT_TRUE(OneAndAHalf(at96.Main.cy, at144.Main.cy, 1));
  EXPECT_TRUE(OneAndAHalf(at96.ToolBarHeight, at144.ToolBarHeight, 2));
  EXPECT_TRUE(OneAndAHalf(at96.SetupClient.cx, at144.SetupClient.cx, 1));
  EXPECT_TRUE(OneAndAHalf(at96.SetupClient.cy, at144.SetupClient.cy, 1));
  ASSERT_EQ(at96.SetupPages.size(), 3u);
  ASSERT_EQ(at144.SetupPages.size(), 3u);
  for (std::size_t page = 0; page < 3; ++page) {
    const std::map<int, RECT>& p96 = at96.SetupPages[page];
    std::map<int, RECT> p144 = at144.SetupPages[page];
    ASSERT_EQ(p96.size(), p144.size()) << "page " << page + 1;
    EXPECT_GE(p96.size(), 6u);  // the tabs, a page's own controls and the three buttons
    // The page's first control: the others' rows measured from it.
    const int first = page == 0   ? TSetupForm::kMinimizeId
                      : page == 1 ? TSetupForm::kReaderTypeLabelId
                                  : TSetupForm::kFormatLabelId;
    ASSERT_EQ(p96.count(first), 1u);
    for (const auto& [id, r96] : p96) {
      const RECT& r144 = p144[id];
      EXPECT_TRUE(OneAndAHalf(r96.left, r144.left, 2)) << "control " << id;
      EXPECT_TRUE(OneAndAHalf(r96.right - r96.left, r144.right - r144.left, 1)) << "control " << id;
      if (id >= TSetupForm::kMinimizeId) {
        EXPECT_TRUE(OneAndAHalf(r96.top - p96.at(first).top, r144.top - p144[first].top, 2))
            << "control " << id;
      } else {
        EXPECT_TRUE(OneAndAHalf(r96.top, r144.top, 1)) << "control " << id;
      }
    }
  }
  // The menu's items are as wide as their captions in the menu font the system gives.
  EXPECT_GE(at144.TrayMenu.cx * 100, at96.TrayMenu.cx * 135);
  EXPECT_LE(at144.TrayMenu.cx * 100, at96.TrayMenu.cx * 165);
  EXPECT_TRUE(OneAndAHalf(at96.TrayMenu.cy, at144.TrayMenu.cy, 6));
}

}  // namespace
