#include <gtest/gtest.h>

#include <string>

#include "ui/tray/tray_icon.h"

namespace {

struct TTipCase {
  const char* Name;
  std::wstring Hint;
  std::wstring Tip;
};

class TrayTipTest : public testing::TestWithParam<TTipCase> {};

TEST_P(TrayTipTest, ShortPartCutToRecord) {
  EXPECT_EQ(MakeTrayNotifyFields(1, GetParam().Hint).Tip, GetParam().Tip);
}

const std::wstring k63(63, L'я');

INSTANTIATE_TEST_SUITE_P(
    Hints, TrayTipTest,
    testing::Values(
        TTipCase{"ProgramTitleWhole", L"Драйвер контрольного считывателя",
                 L"Драйвер контрольного считывателя"},
        TTipCase{"TextBeforeFirstBar", L"Коротко|Длинно|ещё", L"Коротко"},
        TTipCase{"LeadingBarLeavesEmpty", L"|всё", L""},
        TTipCase{"Exactly63Kept", k63, k63},
        TTipCase{"SixtyFourthCut", k63 + L"Z", k63},
        TTipCase{"BarRuleBeforeCut", L"ab|" + std::wstring(100, L'x'), L"ab"},
        TTipCase{"LongShortPartCut", std::wstring(70, L'x') + L"|y", std::wstring(63, L'x')}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(TrayNotifyFields, MessageIconAndTipWithCallback) {
  const TTrayNotifyFields fields = MakeTrayNotifyFields(0x1234, L"x");
  EXPECT_EQ(fields.Flags, 7u);
  EXPECT_EQ(fields.CallbackMessage, 0xB054u);
  EXPECT_EQ(fields.Id, 0u);
  EXPECT_EQ(fields.Image, 0x1234u);
}

TEST(TrayNotifyFields, NoImageGivesAllBitsSet) {
  EXPECT_EQ(MakeTrayNotifyFields(0, L"x").Image, static_cast<std::uintptr_t>(-1));
}

using enum TTrayStepKind;
using B = TTrayButton;

struct TClickCase {
  const char* Name;
  std::vector<unsigned> Messages;
  std::vector<TTrayStep> LastSteps;  // the steps of the last message
};

class TrayClickTest : public testing::TestWithParam<TClickCase> {};

TEST_P(TrayClickTest, StepsOfLastMessage) {
  TTrayClickState state;
  std::vector<TTrayStep> steps;
  for (const unsigned message : GetParam().Messages) steps = state.OnMouseMessage(message);
  EXPECT_EQ(steps, GetParam().LastSteps);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, TrayClickTest,
    testing::Values(
        TClickCase{"RightPressedElsewhereReleasedHereOnlyRelease", {kRightButtonUp},
                   {{ReleaseNotice, B::Right}}},
        TClickCase{"RightPressedAndReleasedHereClicks", {kRightButtonDown, kRightButtonUp},
                   {{Click, B::Right}, {ReleaseNotice, B::Right}}},
        TClickCase{"SecondReleaseDoesNotClickAgain",
                   {kRightButtonDown, kRightButtonUp, kRightButtonUp},
                   {{ReleaseNotice, B::Right}}},
        TClickCase{"LeftPressedAndReleasedClicks", {kLeftButtonDown, kLeftButtonUp},
                   {{Click, B::Left}, {ReleaseNotice, B::Left}}},
        TClickCase{"LeftPressDoesNotCountForRight", {kLeftButtonDown, kRightButtonUp},
                   {{ReleaseNotice, B::Right}}},
        TClickCase{"LeftDoubleRunsDefaultThenPress", {kLeftButtonDoubleClick},
                   {{DoubleClick, B::Left, true}, {PressNotice, B::Left, true}}},
        TClickCase{"RightDoubleIsOnlyPress", {kRightButtonDoubleClick},
                   {{PressNotice, B::Right, true}}},
        TClickCase{"MiddleNeverClicks", {kMiddleButtonDown, kMiddleButtonUp},
                   {{ReleaseNotice, B::Middle}}},
        TClickCase{"MiddleDouble", {kMiddleButtonDoubleClick}, {{PressNotice, B::Middle, true}}},
        TClickCase{"Move", {kMouseMove}, {{MoveNotice, B::None}}},
        TClickCase{"OtherMessageNothing", {0x20A}, {}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(TrayClickState, DoubleClickLeavesLeftNotPressed) {
  TTrayClickState state;
  state.OnMouseMessage(kLeftButtonDoubleClick);
  EXPECT_FALSE(state.IsPressed(B::Left));
  EXPECT_EQ(state.OnMouseMessage(kLeftButtonUp), (std::vector<TTrayStep>{{ReleaseNotice, B::Left}}));
}

TEST(TrayClickState, ClearForgetsPressedButtons) {
  TTrayClickState state;
  state.OnMouseMessage(kLeftButtonDown);
  state.OnMouseMessage(kRightButtonDown);
  state.Clear();
  EXPECT_FALSE(state.IsPressed(B::Left));
  EXPECT_FALSE(state.IsPressed(B::Right));
  EXPECT_EQ(state.OnMouseMessage(kRightButtonUp),
            (std::vector<TTrayStep>{{ReleaseNotice, B::Right}}));
}

TEST(TrayAttempt, RightClickMenuLeftDoubleDefaultRestNothing) {
  EXPECT_EQ(AttemptFor({Click, B::Right}), TTrayAttempt::ShowMenu);
  EXPECT_EQ(AttemptFor({Click, B::Left}), TTrayAttempt::None);
  EXPECT_EQ(AttemptFor({DoubleClick, B::Left, true}), TTrayAttempt::RunDefaultItem);
  EXPECT_EQ(AttemptFor({PressNotice, B::Right, true}), TTrayAttempt::None);
  EXPECT_EQ(AttemptFor({ReleaseNotice, B::Right}), TTrayAttempt::None);
}

// A click opens the card of the last balloon shown, however many balloons went before it; a
// balloon shown for no card, or any other notice, opens nothing.
TEST(BalloonTag, AClickGivesTheLastBalloonsCard) {
  TBalloonTag balloon;
  EXPECT_EQ(balloon.Notice(kBalloonUserClick), std::nullopt);
  balloon.Shown(7);
  balloon.Shown(8);
  EXPECT_EQ(balloon.Notice(kLeftButtonUp), std::nullopt);
  EXPECT_EQ(balloon.Notice(kBalloonUserClick), std::optional<std::uint64_t>(8));
  EXPECT_EQ(balloon.Notice(kBalloonUserClick), std::optional<std::uint64_t>(8));
  balloon.Shown(0);
  EXPECT_EQ(balloon.Notice(kBalloonUserClick), std::nullopt);
}

}  // namespace
