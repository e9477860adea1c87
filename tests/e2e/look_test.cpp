// The real Lintavo.exe started once at 144 DPI: no caption of the main window or of the
// setup dialog's four pages is cut. Pictures of each, and of the window «Журнал карт», are
// left in kShotsDir to look at.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "journal/journal_texts.h"
#include "tests/e2e/lintavo_instance.h"
#include "tests/e2e/main_window_driver.h"
#include "tests/support/log_pixels.h"
#include "tests/support/screen_pixels.h"
#include "tests/support/setup_dialog_driver.h"
#include "tests/support/wait.h"
#include "tests/support/window_classes.h"
#include "tests/support/window_rect.h"
#include "tests/support/window_text.h"
#include "ui/journal/journal_window_win.h"
#include "ui/main_window/resource_ids.h"
#include "ui/setup/setup_form_win.h"
#include "ui/shell/gdi_win.h"
#include "ui/shell/texts.h"

namespace {

using e2e::TLintavoInstance;

constexpr wchar_t kShotsDir[] = L"Z:\\tmp\\lintavo-look-e2e";
constexpr DWORD kLong = 15'000;
constexpr int kDpi = 144;

// A length designed at 96 DPI, at the test's DPI.
int Scaled(int designed) { return MulDiv(designed, kDpi, 96); }

// The font the designed windows are drawn in, as a user at 144 DPI would ask for it.
LOGFONTW DesignedFont(int points) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(points, kDpi, 72);
  font.lfCharSet = RUSSIAN_CHARSET;
  wcscpy_s(font.lfFaceName, L"MS Shell Dlg 2");
  return font;
}

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

// --- what the start shows ---------------------------------------------------------------------

// The title in the caption font, beside the small icon and the caption buttons (minimise,
// the greyed maximise and close), inside the frame.
void ExpectTitleFits(HWND main) {
  const int needed = TextWidth(kApplicationTitle, CaptionFontAt(kDpi)) +
                     MetricAt(SM_CXSMICON, kDpi) + 3 * MetricAt(SM_CXSIZE, kDpi) +
                     2 * MetricAt(SM_CXFRAME, kDpi) + 2 * MetricAt(SM_CXEDGE, kDpi);
  EXPECT_LE(needed, OuterSize(main).cx) << "the title is cut";
}

// Each label inside the window and wide enough for its text.
void ExpectLabelsFit(HWND main) {
  const std::vector<HWND> labels = ChildrenOfClass(main, L"Static");
  ASSERT_EQ(labels.size(), 4u);
  const LOGFONTW font = DesignedFont(8);
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const RECT r = PlaceOf(labels[i]);
    EXPECT_LE(r.right, ClientSize(main).cx) << "label " << i << " runs out of the window";
    EXPECT_LE(TextWidth(WindowText(labels[i]), font), r.right - r.left) << i;
  }
}

// Every visible control with a caption holds its caption.
void ExpectCaptionsFit(HWND dialog, const std::wstring& page) {
  const LOGFONTW font = DesignedFont(8);
  const LOGFONTW groupFont = DesignedFont(9);
  for (HWND child : ChildWindows(dialog)) {
    const std::wstring text = WindowText(child);
    if (!IsWindowVisible(child) || text.empty()) continue;
    const std::wstring kind = ClassName(child);
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    const int width = PlaceOf(child).right - PlaceOf(child).left;
    int needed = TextWidth(WithoutAccelerators(text), font);
    if (kind == L"Button" && (style & BS_TYPEMASK) == BS_GROUPBOX) {
      needed = TextWidth(text, groupFont) + Scaled(16);
    } else if (kind == L"Button" && (style & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
      needed += Scaled(16);  // the box and the gap after it
    } else if (kind == L"Button") {
      needed += Scaled(8);  // the button's edges
    } else if (kind != L"Static") {
      continue;  // the tabs, drop-downs and list size their texts themselves
    }
    EXPECT_LE(needed, width) << Narrow(text) << " on page " << Narrow(page);
  }
}

TEST(Look, EveryCaptionFitsAt144Dpi) {
  TLintavoInstance lintavo(L"look 144");
  lintavo.WriteIni("[SETTINGS]\r\nMinimizeOnRun=0\r\nCheckExit=0\r\nPortNumber=2\r\n");
  HWND main = nullptr;
  {
    // The program reads the DPI as it starts; the prefix has its own back at once after.
    TLogPixels pixels(kDpi);
    ASSERT_TRUE(pixels.Set());
    ASSERT_TRUE(lintavo.Start());
    main = lintavo.MainWindow(kLong);
  }
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, kLong));
  ASSERT_NE(e2e::ToolBarOf(main), nullptr);
  ASSERT_TRUE(lintavo.WaitForPortLabel(L"COM2 - Порт открыт", kLong));
  ExpectTitleFits(main);
  ExpectLabelsFit(main);
  SaveShot(main, L"main-144");

  const struct {
    int Command;
    const wchar_t* Name;
  } pages[] = {{IDM_SETUP_VIEW, kSetupViewPage},
               {IDM_SETUP_READER, kSetupReaderPage},
               {IDM_SETUP_OUTPUT, kSetupOutputPage},
               {IDM_SETUP_JOURNAL, kJournalPage}};
  for (const auto& page : pages) {
    const HWND dialog = e2e::OpenSetupDialog(lintavo, page.Command, kLong);
    ASSERT_NE(dialog, nullptr) << Narrow(page.Name);
    ExpectCaptionsFit(dialog, page.Name);
    SaveShot(dialog, L"setup-" + std::to_wstring(page.Command - IDM_SETUP_VIEW + 1) + L"-144");
    TSetupDialogDriver setup(dialog);
    setup.Press(TSetupForm::kCancelButtonId);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kLong));
  }
  e2e::PostMenuCommand(main, IDM_FILE_JOURNAL);
  const HWND journal = lintavo.WaitForTopLevel(TJournalWindow::kClassName, kJournalTitle, kLong);
  ASSERT_NE(journal, nullptr);
  EXPECT_EQ(ClientSize(journal).cx, Scaled(640));
  SaveShot(journal, L"journal-144");
  e2e::PostMenuCommand(main, IDM_FILE_EXIT);
  EXPECT_EQ(lintavo.WaitForExit(kLong), 0u);
}

}  // namespace
