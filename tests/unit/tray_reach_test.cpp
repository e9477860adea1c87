// Keeping the program within reach from the notification area: the balloon's members, when
// minimising may take the task-bar button away, and how often a refused icon is asked again.
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
  const TTrayBalloonFields shortOnes = MakeTrayBalloonFields(L"Драйвер", L"Номер\nпричина");
  EXPECT_EQ(shortOnes.Title, L"Драйвер");
  EXPECT_EQ(shortOnes.Text, L"Номер\nпричина");
}

TEST(TaskbarButton, GoesOnlyWithTheNewShellAndTheIconInPlace) {
  EXPECT_TRUE(TaskbarButtonGoes(true, true));
  EXPECT_FALSE(TaskbarButtonGoes(true, false)) << "no icon: the button is the way back";
  EXPECT_FALSE(TaskbarButtonGoes(false, true));
  EXPECT_FALSE(TaskbarButtonGoes(false, false));
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
