// The notification area: the balloon's members, and how often a refused icon is asked again.
#include <gtest/gtest.h>

#include <string>

#include "ui/tray/tray_icon.h"

namespace {

TEST(TrayBalloon, TitleAndTextAreCutToWhatTheRecordHolds) {
  const std::wstring title(80, L'Т');
  const std::wstring text(300, L'н');
  const TTrayBalloonFields fields = MakeTrayBalloonFields(title, text);
  EXPECT_EQ(fields.Title, title.substr(0, kBalloonTitleMaxChars));
  EXPECT_EQ(fields.Text, text.substr(0, kBalloonTextMaxChars));
}

TEST(TrayAddRetry, AsksAgainEveryFewTicksWhileTheIconIsMissing) {
  TTrayAddRetry retry;
  for (int round = 0; round < 2; ++round) {
    for (int tick = 1; tick < TTrayAddRetry::kEveryTicks; ++tick)
      EXPECT_FALSE(retry.Tick(true)) << "round " << round << ", tick " << tick;
    EXPECT_TRUE(retry.Tick(true)) << "round " << round;
  }
}

TEST(TrayAddRetry, AnIconInPlaceIsLeftAloneAndAFreshLossWaitsAFullInterval) {
  TTrayAddRetry retry;
  EXPECT_FALSE(retry.Tick(true));
  EXPECT_FALSE(retry.Tick(false));
  for (int tick = 1; tick < TTrayAddRetry::kEveryTicks; ++tick) EXPECT_FALSE(retry.Tick(true));
  EXPECT_TRUE(retry.Tick(true));
}

// The task-bar button goes on minimise only while something else leads back to the window.
struct TButtonCase {
  const char* Name;
  bool NewStyleShell;
  bool IconAdded;
  bool NoticeUnseen;
  bool Goes;
};

class TaskbarButton : public testing::TestWithParam<TButtonCase> {};

TEST_P(TaskbarButton, GoesOnlyWithTheIconAsTheWayBack) {
  const TButtonCase& c = GetParam();
  EXPECT_EQ(TaskbarButtonGoes(c.NewStyleShell, c.IconAdded, c.NoticeUnseen), c.Goes);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TaskbarButton,
    testing::Values(TButtonCase{"TheIconLeadsBack", true, true, false, true},
                    TButtonCase{"NoIconKeepsIt", true, false, false, false},
                    TButtonCase{"AnUnseenNumberKeepsItWithTheIconThere", true, true, true, false},
                    TButtonCase{"AnOldShellKeepsIt", false, true, false, false}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
