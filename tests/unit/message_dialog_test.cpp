#include "ui/dialogs/message_dialog.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/shell/mul_div.h"

namespace {

using B = MessageButton;

TEST(MessageDialogArithmetic, MulDivRoundsHalfAwayFromZeroLikeThePlatform) {
  EXPECT_EQ(MulDivRound(10, 13, 8), 16);  // 16.25
  EXPECT_EQ(MulDivRound(14, 13, 8), 23);  // 22.75
  EXPECT_EQ(MulDivRound(8, 5, 16), 3);    // 2.5 rounds up
  EXPECT_EQ(MulDivRound(-8, 5, 16), -3);  // and -2.5 down
  EXPECT_EQ(MulDivRound(50, 7, 4), 88);   // 87.5
  EXPECT_EQ(MulDivRound(1, 1, 0), -1);
  EXPECT_EQ(MulDivRound(1 << 20, 1 << 10, 1 << 10), 1 << 20);  // no overflow in between
}

TEST(MessageDialogArithmetic, AverageCharWidthTruncates) {
  EXPECT_EQ(AverageCharWidth(311), 5);
  EXPECT_EQ(AverageCharWidth(312), 6);
}

TEST(MessageDialogArithmetic, SpacingFromCharacterMetrics) {
  const TMessageSpacing s = MessageSpacing(6, 13);
  EXPECT_EQ(s.HorizontalMargin, 12);
  EXPECT_EQ(s.VerticalMargin, 13);
  EXPECT_EQ(s.HorizontalSpacing, 15);
  EXPECT_EQ(s.VerticalSpacing, 16);
  EXPECT_EQ(s.ButtonWidth, 75);
  EXPECT_EQ(s.ButtonHeight, 23);
  EXPECT_EQ(s.ButtonSpacing, 6);
}

TEST(MessageDialogArithmetic, WrapWidthIsHalfTheScreenTruncated) {
  EXPECT_EQ(MessageWrapWidth(1024), 512);
  EXPECT_EQ(MessageWrapWidth(1023), 511);
}

TEST(MessageButtonsSet, HighBitsNameNoButton) {
  EXPECT_TRUE(MessageButtons(0xF800).List().empty());
  EXPECT_EQ(MessageButtons(0xF804).List(), std::vector<B>{B::OK});
}

TEST(MessageButtonsSet, ListIsInBitOrderWhateverTheOrderGiven) {
  const MessageButtons set{B::Help, B::Cancel, B::Yes};
  EXPECT_EQ(set.List(), (std::vector<B>{B::Yes, B::Cancel, B::Help}));
}

int CaptionWidth(const wchar_t* caption) {
  return static_cast<int>(std::wstring(caption).size()) * 7;
}

TEST(MessageButtonWidths, MeasuresEachNewButtonOnceAndAddsEight) {
  TButtonWidths widths{};
  int calls = 0;
  auto measure = [&](const wchar_t* caption) {
    ++calls;
    return CaptionWidth(caption);
  };
  MeasureNewButtons({B::Abort, B::Retry, B::Ignore}, widths, measure);
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(widths[static_cast<int>(B::Ignore)], 12 * 7 + 8);  // "Игнорировать"
  EXPECT_EQ(widths[static_cast<int>(B::Yes)], 0);
  MeasureNewButtons({B::Retry, B::Yes}, widths, measure);
  EXPECT_EQ(calls, 4);
}

TEST(MessageButtonWidths, AWidthOnceKnownIsKeptEvenIfTheFontChanges) {
  TButtonWidths widths{};
  MeasureNewButtons({B::OK}, widths, CaptionWidth);
  const int first = widths[static_cast<int>(B::OK)];
  MeasureNewButtons({B::OK}, widths, [](const wchar_t*) { return 500; });
  EXPECT_EQ(widths[static_cast<int>(B::OK)], first);
}

TEST(MessageButtonWidths, DialogWidthTakesTheWidestOfTheSetOrTheStart) {
  TButtonWidths widths{};
  MeasureNewButtons({B::Yes, B::No, B::Ignore, B::YesToAll}, widths, CaptionWidth);
  EXPECT_EQ(DialogButtonWidth(75, {B::Yes, B::No}, widths), 75);
  EXPECT_EQ(DialogButtonWidth(75, {B::Yes, B::Ignore}, widths), 92);
  EXPECT_EQ(DialogButtonWidth(10, {B::Yes}, widths), 2 * 7 + 8);
  EXPECT_EQ(DialogButtonWidth(75, {}, widths), 75);
  // YesToAll is measured but not in this set, so it does not widen it.
  EXPECT_EQ(DialogButtonWidth(75, {B::No}, widths), 75);
}

TMessageLayoutInput Input(int textWidth, int textHeight, bool icon, MessageButtons buttons,
                          int buttonWidth = 75) {
  return {
      MessageSpacing(6, 13), buttonWidth, textWidth, textHeight, icon, buttons, 1024, 768, 6, 25};
}

TEST(MessageDialogLayout, OneLineBesideTheIconTakesTheIconsHeight) {
  const TMessageLayout l = LayoutMessageForm(Input(200, 13, true, {B::Yes, B::No}));
  EXPECT_EQ(l.ClientWidth, 200 + 15 + 32 + 2 * 12);
  EXPECT_EQ(l.ClientHeight, 32 + 16 + 23 + 2 * 13);
  EXPECT_EQ(l.Window, (TLayoutRect{512 - 277 / 2, 384 - 122 / 2, 277, 122}));
  ASSERT_TRUE(l.Icon.has_value());
  EXPECT_EQ(*l.Icon, (TLayoutRect{12, 13, 32, 32}));
  EXPECT_EQ(l.Label, (TLayoutRect{12 + 32 + 15, 13, 200, 13}));
  ASSERT_EQ(l.Buttons.size(), 2u);
  const int row = 2 * 75 + 6;
  const int x = (271 - row) / 2;
  EXPECT_EQ(l.Buttons[0], std::make_pair(B::Yes, TLayoutRect{x, 13 + 32 + 16, 75, 23}));
  EXPECT_EQ(l.Buttons[1], std::make_pair(B::No, TLayoutRect{x + 75 + 6, 61, 75, 23}));
}

TEST(MessageDialogLayout, WithoutIconTheTextStandsAtTheMargin) {
  TMessageLayoutInput in = Input(300, 39, false, {B::OK});
  in.ScreenWidth = 800;
  in.ScreenHeight = 600;
  in.FrameWidth = in.FrameHeight = 0;
  const TMessageLayout l = LayoutMessageForm(in);
  EXPECT_FALSE(l.Icon.has_value());
  EXPECT_EQ(l.Label, (TLayoutRect{12, 13, 300, 39}));
  EXPECT_EQ(l.Window, (TLayoutRect{400 - 162, 300 - 52, 324, 104}));
  ASSERT_EQ(l.Buttons.size(), 1u);
  EXPECT_EQ(l.Buttons[0].second, (TLayoutRect{(324 - 75) / 2, 13 + 39 + 16, 75, 23}));
}

TEST(MessageDialogLayout, WrappedTextTallerThanTheIconSetsTheBlockHeight) {
  const TMessageLayout l = LayoutMessageForm(Input(512, 65, true, {B::OK}));
  EXPECT_EQ(l.ClientWidth, 512 + 15 + 32 + 24);
  EXPECT_EQ(l.ClientHeight, 65 + 16 + 23 + 26);
  EXPECT_EQ(l.Buttons[0].second.Top, 13 + 65 + 16);
}

TEST(MessageDialogLayout, EmptyButtonSetKeepsTheButtonRowHeight) {
  const TMessageLayout l = LayoutMessageForm(Input(100, 13, true, {}));
  EXPECT_TRUE(l.Buttons.empty());
  EXPECT_EQ(l.ClientWidth, 100 + 15 + 32 + 24);
  EXPECT_EQ(l.ClientHeight, 32 + 16 + 23 + 26);
}

TEST(MessageDialogLayout, AButtonRowWiderThanTheTextSetsTheWidth) {
  const TMessageLayout l =
      LayoutMessageForm(Input(50, 13, false, {B::Abort, B::Retry, B::Ignore, B::Help}, 90));
  const int row = 4 * 90 + 3 * 6;
  EXPECT_EQ(l.ClientWidth, row + 24);
  ASSERT_EQ(l.Buttons.size(), 4u);
  EXPECT_EQ(l.Buttons[0].second.Left, 12);
  EXPECT_EQ(l.Buttons[3].second.Left, 12 + 3 * 96);
  EXPECT_EQ(l.Buttons[3].first, B::Help);
}

struct RolesCase {
  const char* name;
  MessageButtons set;
  std::optional<B> defaultButton;
  std::optional<B> cancelButton;
};

class MessageButtonRoles : public testing::TestWithParam<RolesCase> {};

TEST_P(MessageButtonRoles, DefaultAndCancelChoice) {
  const TButtonRoles roles = ChooseButtonRoles(GetParam().set);
  EXPECT_EQ(roles.Default, GetParam().defaultButton);
  EXPECT_EQ(roles.Cancel, GetParam().cancelButton);
}

INSTANTIATE_TEST_SUITE_P(
    Sets, MessageButtonRoles,
    testing::Values(
        RolesCase{"OkAloneIsBothDefaultAndCancel", {B::OK}, B::OK, B::OK},
        RolesCase{"YesNoDefaultsToYesCancelsWithNo", {B::Yes, B::No}, B::Yes, B::No},
        RolesCase{"OkWinsDefaultOverYes", {B::Yes, B::OK}, B::OK, B::OK},
        RolesCase{"CancelWinsCancelOverNo", {B::Yes, B::No, B::Cancel}, B::Yes, B::Cancel},
        RolesCase{"CancelWinsCancelOverOk", {B::OK, B::Cancel}, B::OK, B::Cancel},
        RolesCase{
            "AbortRetryIgnoreHasNoCancel", {B::Abort, B::Retry, B::Ignore}, B::Retry, std::nullopt},
        RolesCase{"RetryIsTheLastDefaultChoice", {B::Retry, B::Cancel}, B::Retry, B::Cancel},
        RolesCase{"NoAloneHasNoDefault", {B::No}, std::nullopt, B::No},
        RolesCase{"ToAllButtonsHaveNeither",
                  {B::All, B::NoToAll, B::YesToAll, B::Help},
                  std::nullopt,
                  std::nullopt},
        RolesCase{"EmptySetHasNeither", {}, std::nullopt, std::nullopt},
        RolesCase{"HighBitsAloneHaveNeither", MessageButtons(0xF800), std::nullopt, std::nullopt}),
    [](const testing::TestParamInfo<RolesCase>& info) { return info.param.name; });

TEST(MessageDialogCentring, ClampsAtTheOriginAndTruncatesHalves) {
  EXPECT_EQ(CentreInArea(277, 122, 1024, 768), (TLayoutPoint{373, 323}));
  EXPECT_EQ(CentreInArea(1200, 900, 1024, 768), (TLayoutPoint{0, 0}));
}

TEST(MessageDialogTables, ResultsAndCaptionsOfTheButtons) {
  EXPECT_EQ(ButtonInfo(B::Yes).Result, 6);
  EXPECT_EQ(ButtonInfo(B::Cancel).Result, kClosedResult);
  EXPECT_EQ(ButtonInfo(B::YesToAll).Result, 10);
  EXPECT_EQ(ButtonInfo(B::Help).Result, 0);
  EXPECT_EQ(std::wstring(ButtonInfo(B::OK).Caption), L"Ввод");
  EXPECT_EQ(std::string(ButtonInfo(B::NoToAll).Name), "NoToAll");
  EXPECT_EQ(KindInfo(MessageKind::Custom).IconId, kNoIcon);
  EXPECT_EQ(KindInfo(MessageKind::Custom).Caption, nullptr);
  EXPECT_EQ(KindInfo(MessageKind::Exit).IconId, 32514);
  EXPECT_EQ(std::wstring(KindInfo(MessageKind::Exit).Caption), L"Завершение работы");
}

}  // namespace
