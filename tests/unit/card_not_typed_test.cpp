// A card that was not typed: what the typing's facts and the system's answers mean, and what
// the operator reads in the balloon.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "journal/journal_row.h"
#include "reader/card_delivery.h"
#include "ui/main_window/card_notice.h"
#include "ui/tray/tray_icon.h"

namespace {

// ---- nowhere to type --------------------------------------------------------------------------

struct TNowhereCase {
  const char* Name;
  TForeground Foreground;
  bool NoCaretTyping;
  TNotTyped Expected;
};

class NowhereReasonTest : public testing::TestWithParam<TNowhereCase> {};

TEST_P(NowhereReasonTest, SaysWhyTheCardFoundNowhereToGo) {
  const TNowhereCase& c = GetParam();
  ASSERT_EQ(TypingRouteOf(c.Foreground, c.NoCaretTyping), TTypingRoute::Nowhere)
      << "the row must stand for a card with nowhere to go";
  EXPECT_EQ(NowhereReason(c.Foreground, c.NoCaretTyping), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NowhereReasonTest,
    testing::Values(
        TNowhereCase{"NoForegroundWindow", {}, false, TNotTyped::NoWindow},
        TNowhereCase{"NoCaretAndTheOptionOff", {true, false, false, true}, false,
                     TNotTyped::NoCaret},
        TNowhereCase{"NoCaretNorFocusWithTheOptionOn", {true, false, false, false}, true,
                     TNotTyped::NoWindow},
        TNowhereCase{"OwnWindowWithTheOptionOffIsNotAdvisedToTurnItOn",
                     {true, true, false, true}, false, TNotTyped::OwnWindow}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- what the system said ---------------------------------------------------------------------

struct TDeliveryCase {
  const char* Name;
  TDelivery Delivery;
  TNotTyped Expected;
};

class DeliveryTest : public testing::TestWithParam<TDeliveryCase> {};

TEST_P(DeliveryTest, TellsATypedCardFromOneThatWasNot) {
  EXPECT_EQ(NotTypedOf(GetParam().Delivery), GetParam().Expected);
}

constexpr std::uint32_t kQuotaExceeded = 1816;  // a target whose queue is full

INSTANTIATE_TEST_SUITE_P(
    Rows, DeliveryTest,
    testing::Values(
        TDeliveryCase{"AllTaken", {10, 10, 0, false}, TNotTyped::None},
        TDeliveryCase{"FirstPostDeniedIsAProgramRunningAsAdministrator",
                      {10, 0, kAccessDeniedError, false}, TNotTyped::Elevated},
        TDeliveryCase{"KnownAboveBeforeSendingEvenIfCountedWhole", {12, 12, 0, true},
                      TNotTyped::Elevated},
        TDeliveryCase{"PartOfTheNumberIsNotTheNumber", {10, 7, kQuotaExceeded, false},
                      TNotTyped::Refused},
        TDeliveryCase{"InputCountedShortWithoutAReason", {12, 4, 0, false}, TNotTyped::Refused}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- the notice's words -----------------------------------------------------------------------

// Whether the program in front runs above this one, from what the system told of each.
struct TAboveCase {
  const char* Name;
  std::optional<std::uint32_t> Theirs;
  std::optional<std::uint32_t> Ours;
  bool Above;
};

class TargetAboveTest : public testing::TestWithParam<TAboveCase> {};

TEST_P(TargetAboveTest, TakesWhatCannotBeLookedAtForAbove) {
  EXPECT_EQ(TargetRunsAbove(GetParam().Theirs, GetParam().Ours), GetParam().Above);
}

constexpr std::uint32_t kMedium = 0x2000;
constexpr std::uint32_t kHigh = 0x3000;

INSTANTIATE_TEST_SUITE_P(
    Rows, TargetAboveTest,
    testing::Values(TAboveCase{"AnAdministratorProgramAboveANormalOne", kHigh, kMedium, true},
                    TAboveCase{"TheSameLevel", kMedium, kMedium, false},
                    TAboveCase{"ANormalProgramBelowAnAdministratorOne", kMedium, kHigh, false},
                    TAboveCase{"AProgramThatCannotBeLookedAt", std::nullopt, kMedium, true},
                    TAboveCase{"NeitherCanBeLookedAt", std::nullopt, std::nullopt, true},
                    TAboveCase{"OurOwnLevelUnknownLeavesItToTheCount", kHigh, std::nullopt, false}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- what the operator reads ------------------------------------------------------------------

struct TTextCase {
  const char* Name;
  TNotTypedCard Card;
  const wchar_t* Expected;
};

class NoticeTextTest : public testing::TestWithParam<TTextCase> {};

TEST_P(NoticeTextTest, GivesTheNumberAsItWouldHaveBeenTypedAndWhy) {
  EXPECT_EQ(NotTypedNoticeText(JournalRowOf({GetParam().Card, {}}, {})), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NoticeTextTest,
    testing::Values(
        TTextCase{"NoCaretPointsToTheOutputPage",
                  {305419896, TCardFormat::Decimal, 1, TNotTyped::NoCaret},
                  L"Номер карты не введён: 305419896\nВ активном окне нет текстового курсора.\n"
                  L"Ввод без курсора можно включить\nв установках, страница «Вывод»."},
        TTextCase{"AdministratorInTheChosenFormat",
                  {0x345678, TCardFormat::FacilityNumber, 0, TNotTyped::Elevated},
                  L"Номер карты не введён: 052,22136\nАктивная программа запущена от имени\n"
                  L"администратора, Windows не даёт вводить в неё."},
        TTextCase{"HexadecimalForTheFortyBitReader",
                  {0x12345678, TCardFormat::Hexadecimal, 1, TNotTyped::Refused},
                  L"Номер карты не введён: 0012345678\nАктивная программа не приняла номер "
                  L"целиком."}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(NotTypedNotice, EveryTextFitsTheBalloon) {
  const TNotTyped reasons[] = {TNotTyped::NoWindow, TNotTyped::OwnWindow, TNotTyped::NoCaret,
                               TNotTyped::Elevated, TNotTyped::Refused};
  for (const TNotTyped reason : reasons) {
    const std::wstring text = NotTypedNoticeText(
        JournalRowOf({{0xFFFFFFFFFF, TCardFormat::FacilityNumber, 1, reason}, {}}, {}));
    EXPECT_LE(text.size(), kBalloonTextMaxChars) << "reason " << static_cast<int>(reason);
  }
}

}  // namespace
