// Russian on any system: every font the program's windows show, and every font it draws
// with, asks for the Cyrillic character set. On a Windows whose language for non-Unicode
// programs is not Russian, a font asked for with the default set may have no Cyrillic
// letters; Wine finds some either way, so what is asked for is what the tests read.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "services/help_bridge_win.h"
#include "tests/support/test_paths.h"
#include "tests/support/top_level_windows.h"
#include "tests/support/wait.h"
#include "tests/support/window_classes.h"
#include "tests/support/window_text.h"
#include "tests/win/look_windows.h"
#include "ui/dialogs/message_dialog_win.h"
#include "ui/setup/setup_form_win.h"
#include "ui/shell/designed_font_win.h"
#include "ui/shell/texts.h"
#include "ui/tray/drawn_menu_win.h"
#include "ui/tray/tray_menu_win.h"

namespace {

// The font each window shows, for those that show one; `without` names the classes of
// those that do not.
std::vector<LOGFONTW> FontsShown(const std::vector<HWND>& windows, std::string* without = nullptr) {
  std::vector<LOGFONTW> fonts;
  for (HWND window : windows) {
    if (const auto font = FontOf(window)) {
      fonts.push_back(*font);
    } else if (without != nullptr) {
      *without += Narrow(ClassName(window)) + " ";
    }
  }
  return fonts;
}

void ExpectAllCyrillic(const std::vector<LOGFONTW>& fonts, const char* where) {
  for (const LOGFONTW& font : fonts)
    EXPECT_EQ(font.lfCharSet, RUSSIAN_CHARSET) << where << ": " << Narrow(font.lfFaceName);
}

TEST(CyrillicFonts, MainWindowLabelsInTheDesignedFont) {
  const TMainWindowInProcess main;
  const std::vector<HWND> labels = ChildrenOfClass(main.Handle(), L"Static");
  ASSERT_EQ(labels.size(), 4u);
  const std::vector<LOGFONTW> fonts = FontsShown(labels);
  ASSERT_EQ(fonts.size(), 4u);
  ExpectAllCyrillic(fonts, "main window");
  for (const LOGFONTW& font : fonts) {
    EXPECT_STREQ(font.lfFaceName, kDesignedFontFace);
    EXPECT_EQ(font.lfHeight, -11);  // 8 points at 96 DPI, as designed
  }
}

TEST(CyrillicFonts, EverySetupDialogControl) {
  const auto form = TSetupForm::Create([](int) { return false; });
  ASSERT_NE(form, nullptr);
  std::string without;
  std::vector<HWND> controls;
  for (HWND child : ChildWindows(form->Handle()))  // the tabs' scroll arrows show no text
    if (ClassName(child) != L"msctls_updown32") controls.push_back(child);
  const std::vector<LOGFONTW> fonts = FontsShown(controls, &without);
  // The tab control, four check boxes, three labels, three drop-downs, the port list and
  // its group, and the three buttons; a drop-down's own list and edit parts may add more.
  EXPECT_GE(fonts.size(), 16u);
  EXPECT_EQ(without, "") << "these controls of the setup dialog show the system font";
  ExpectAllCyrillic(fonts, "setup dialog");
  const HWND group = GetDlgItem(form->Handle(), TSetupForm::kPortGroupId);
  ASSERT_TRUE(FontOf(group).has_value());
  EXPECT_EQ(FontOf(group)->lfHeight, -12);  // 9 points
}

TEST(CyrillicFonts, MessageDialogLabelAndButtons) {
  const auto form =
      BuildMessageForm(kQuestionExit, MessageKind::Exit, {MessageButton::Yes, MessageButton::No});
  std::string without;
  std::vector<HWND> texts;
  for (HWND child : ChildWindows(form->Handle()))
    if (GetDlgCtrlID(child) != kMessageImageId) texts.push_back(child);
  const std::vector<LOGFONTW> fonts = FontsShown(texts, &without);
  EXPECT_EQ(fonts.size(), 3u);
  EXPECT_EQ(without, "");
  ExpectAllCyrillic(fonts, "message dialog");
}

TEST(CyrillicFonts, TrayMenuItemsAndBand) {
  EXPECT_EQ(MenuLogFont(true, 96).lfCharSet, RUSSIAN_CHARSET);
  EXPECT_EQ(MenuLogFont(false, 96).lfCharSet, RUSSIAN_CHARSET);
  EXPECT_EQ(MenuLogFont(true, 144).lfCharSet, RUSSIAN_CHARSET);
  EXPECT_EQ(TrayBandFont(96).Charset, RUSSIAN_CHARSET);
  EXPECT_EQ(TrayBandFont(96).Height, -19);
}

TEST(CyrillicFonts, HelpViewerOfTheCompanionLibrary) {
  const TUniqueLibrary library(LoadLibraryW((ProductDir() / kHelpLibrary).c_str()));
  ASSERT_TRUE(library);
  const auto getExportList = reinterpret_cast<THelpGetExportList>(
      reinterpret_cast<void*>(GetProcAddress(library.Get(), kHelpExportList)));
  ASSERT_NE(getExportList, nullptr);
  THelpTable table{};
  getExportList(table.data());
  const std::string documents = (ProductDir() / L"DOC").string();
  reinterpret_cast<THelpInitialise>(table[HelpSlotInitialise])(documents.c_str(), kHelpDocumentName,
                                                               0);
  reinterpret_cast<THelpShowContents>(table[HelpSlotContents])();
  const HWND viewer = FindTopLevel(GetCurrentProcessId(), window_class::kHelpViewer);
  ASSERT_NE(viewer, nullptr);
  std::string without;
  const std::vector<LOGFONTW> fonts = FontsShown(ChildWindows(viewer), &without);
  EXPECT_EQ(fonts.size(), 2u);  // the topic list and the text
  EXPECT_EQ(without, "");
  ExpectAllCyrillic(fonts, "help viewer");
}

TEST(CyrillicFonts, AboutBoxOfTheCompanionLibrary) {
  const TUniqueLibrary library(LoadLibraryW((ProductDir() / L"about.dll").c_str()));
  ASSERT_TRUE(library);
  const auto showAbout = reinterpret_cast<void (*)()>(
      reinterpret_cast<void*>(GetProcAddress(library.Get(), "show_about")));
  ASSERT_NE(showAbout, nullptr);
  std::vector<LOGFONTW> fonts;
  std::string without;
  bool found = false;
  // The box is modal: it is read and closed from another thread while this one shows it.
  std::thread reader([&] {
    const HWND box = WaitForWindow(
        [] { return FindTopLevel(GetCurrentProcessId(), window_class::kDialog, L"О программе"); },
        10'000);
    if (box == nullptr) return;
    found = true;
    std::vector<HWND> texts;
    for (HWND child : ChildWindows(box))
      if (!WindowText(child).empty()) texts.push_back(child);
    fonts = FontsShown(texts, &without);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  showAbout();
  reader.join();
  ASSERT_TRUE(found) << "the about box did not appear";
  EXPECT_EQ(fonts.size(), 4u);  // the name, the version, the description and the button
  EXPECT_EQ(without, "");
  ExpectAllCyrillic(fonts, "about box");
}

}  // namespace
