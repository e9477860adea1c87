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

}  // namespace
