// Windows on the right screen: the setup dialog and the message dialog stand inside the work
// area, the screen without the task bar, of the screen they open on.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <thread>

#include "tests/support/top_level_windows.h"
#include "tests/support/wait.h"
#include "tests/support/window_classes.h"
#include "tests/support/window_rect.h"
#include "ui/dialogs/message_dialog_win.h"
#include "ui/setup/setup_form_win.h"
#include "ui/shell/texts.h"

namespace {

// A task bar taking the screen's lower part: the work area ends at `bottom`; put back after.
class TShortWorkArea {
 public:
  explicit TShortWorkArea(int bottom) {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &Before_, 0);
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), bottom};
    Set_ = SystemParametersInfoW(SPI_SETWORKAREA, 0, &area, 0) != FALSE;
  }
  ~TShortWorkArea() {
    if (Set_) SystemParametersInfoW(SPI_SETWORKAREA, 0, &Before_, 0);
  }
  TShortWorkArea(const TShortWorkArea&) = delete;
  TShortWorkArea& operator=(const TShortWorkArea&) = delete;
  bool Set() const { return Set_; }

 private:
  RECT Before_{};
  bool Set_ = false;
};

TEST(WorkArea, SetupDialogCentresInIt) {
  const TShortWorkArea area(340);
  ASSERT_TRUE(area.Set());
  const auto form = TSetupForm::Create([](int) { return false; });
  ASSERT_NE(form, nullptr);
  const RECT r = OuterRect(form->Handle());
  ASSERT_LE(r.bottom - r.top, 340) << "the dialog does not fit the area at all";
  EXPECT_GE(r.top, 0);
  EXPECT_LE(r.bottom, 340);
  // Centred there: as much room above as below, to the pixel the halving drops.
  EXPECT_LE(std::abs(r.top - (340 - r.bottom)), 1);
}

TEST(WorkArea, MessageDialogStaysInIt) {
  const TShortWorkArea area(200);
  ASSERT_TRUE(area.Set());
  RECT shown{};
  bool seen = false;
  // The dialog is modal: it is read and closed from another thread while this one shows it.
  std::thread reader([&] {
    const HWND dialog = WaitForWindow(
        [] { return FindVisibleWindow(window_class::kMessageForm, kCaptionExit); }, 10'000);
    if (dialog == nullptr) return;
    seen = true;
    shown = OuterRect(dialog);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
  });
  const int result = ShowMessageDialog(kQuestionExit, MessageKind::Exit,
                                       {MessageButton::Yes, MessageButton::No}, 0);
  reader.join();
  ASSERT_TRUE(seen) << "the question did not appear";
  EXPECT_EQ(result, kClosedResult);
  EXPECT_GE(shown.top, 0);
  EXPECT_LE(shown.bottom, 200);
}

}  // namespace
