// The output options' decisions: the number's text in each format, where a card is typed,
// and the messages and key events that carry it and the key after it.
#include <gtest/gtest.h>

#include <ostream>

#include "reader/card_code.h"
#include "reader/typing_plan.h"

// Failures show the values, not the bytes.
void PrintTo(const TPostedMessage& m, std::ostream* os) {
  *os << std::hex << "{message 0x" << m.Message << ", wParam 0x" << m.WParam << ", lParam 0x"
      << m.LParam << "}";
}
void PrintTo(const TKeyEvent& e, std::ostream* os) {
  *os << std::hex << "{key 0x" << e.VirtualKey << ", scan 0x" << e.Scan
      << (e.Unicode ? ", unicode" : "") << (e.Release ? ", up}" : ", down}");
}

namespace {

constexpr std::uint8_t k26Bit = 0;
constexpr std::uint8_t k40Bit = 1;
constexpr CardCode kMax40Bit = 0xFFFFFFFFFF;

// ---- the number's text ------------------------------------------------------------------

struct TFormatCase {
  const char* Name;
  CardCode Code;
  TCardFormat Format;
  std::uint8_t ReaderType;
  const wchar_t* Expected;
};

class CardFormat : public testing::TestWithParam<TFormatCase> {};

TEST_P(CardFormat, TypesTheNumberAsTheOperatorsProgramShowsIt) {
  const TFormatCase& c = GetParam();
  EXPECT_EQ(CardCodeText(c.Code, c.Format, c.ReaderType), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CardFormat,
    testing::Values(
        TFormatCase{"DecimalZero", 0, TCardFormat::Decimal, k40Bit, L"0"},
        TFormatCase{"DecimalFortyBitMaximum", kMax40Bit, TCardFormat::Decimal, k40Bit,
                    L"1099511627775"},
        TFormatCase{"DecimalIgnoresTheReaderType", 0x345678, TCardFormat::Decimal, k26Bit,
                    L"3430008"},
        TFormatCase{"FacilityTypical", 0x345678, TCardFormat::FacilityNumber, k26Bit, L"052,22136"},
        TFormatCase{"FacilityZeroIsPadded", 0, TCardFormat::FacilityNumber, k26Bit, L"000,00000"},
        TFormatCase{"FacilityBothPartsPadded", 0x010001, TCardFormat::FacilityNumber, k26Bit,
                    L"001,00001"},
        TFormatCase{"FacilityTwentySixBitMaximum", 0xFFFFFF, TCardFormat::FacilityNumber, k26Bit,
                    L"255,65535"},
        TFormatCase{"FacilityFortyBitWithHighBitsZeroReadsAsTwentySix", 0x345678,
                    TCardFormat::FacilityNumber, k40Bit, L"052,22136"},
        TFormatCase{"FacilityFortyBitKeepsItsHighBits", 0x0012345678, TCardFormat::FacilityNumber,
                    k40Bit, L"4660,22136"},
        TFormatCase{"FacilityFortyBitOnlyTheTopBit", 0x8000000000, TCardFormat::FacilityNumber,
                    k40Bit, L"8388608,00000"},
        TFormatCase{"FacilityFortyBitMaximum", kMax40Bit, TCardFormat::FacilityNumber, k40Bit,
                    L"16777215,65535"},
        TFormatCase{"HexTwentySixIsSixDigits", 0x345678, TCardFormat::Hexadecimal, k26Bit,
                    L"345678"},
        TFormatCase{"HexZeroTwentySix", 0, TCardFormat::Hexadecimal, k26Bit, L"000000"},
        TFormatCase{"HexIsUpperCase", 0xABCDEF, TCardFormat::Hexadecimal, k26Bit, L"ABCDEF"},
        TFormatCase{"HexFortyIsTenDigits", 0x0012345678, TCardFormat::Hexadecimal, k40Bit,
                    L"0012345678"},
        TFormatCase{"HexZeroForty", 0, TCardFormat::Hexadecimal, k40Bit, L"0000000000"},
        TFormatCase{"HexSmallFortyPadded", 0xAB, TCardFormat::Hexadecimal, k40Bit, L"00000000AB"},
        TFormatCase{"HexFortyBitMaximum", kMax40Bit, TCardFormat::Hexadecimal, k40Bit,
                    L"FFFFFFFFFF"}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- where the number goes ----------------------------------------------------------------

struct TRouteCase {
  const char* Name;
  TForeground Foreground;
  bool NoCaretTyping;
  TTypingRoute Expected;
};

class TypingRoute : public testing::TestWithParam<TRouteCase> {};

TEST_P(TypingRoute, CaretFirstThenTheFocusOnlyWhenAskedAndNeverOurOwn) {
  const TRouteCase& c = GetParam();
  EXPECT_EQ(TypingRouteOf(c.Foreground, c.NoCaretTyping), c.Expected);
}

constexpr TForeground kNoForeground{false, false, false, false};
constexpr TForeground kCaret{true, false, true, true};
constexpr TForeground kOurCaret{true, true, true, true};
constexpr TForeground kFocusOnly{true, false, false, true};
constexpr TForeground kOurFocusOnly{true, true, false, true};
constexpr TForeground kNothingFocused{true, false, false, false};

INSTANTIATE_TEST_SUITE_P(
    Cases, TypingRoute,
    testing::Values(
        TRouteCase{"NoForegroundTypesNowhere", kNoForeground, true, TTypingRoute::Nowhere},
        TRouteCase{"CaretAsEver", kCaret, false, TTypingRoute::CaretWindow},
        TRouteCase{"CaretWinsOverTheFocus", kCaret, true, TTypingRoute::CaretWindow},
        TRouteCase{"CaretOfOurOwnAsEver", kOurCaret, false, TTypingRoute::CaretWindow},
        TRouteCase{"NoCaretOptionOffTypesNowhere", kFocusOnly, false, TTypingRoute::Nowhere},
        TRouteCase{"NoCaretOptionOnTypesIntoTheFocus", kFocusOnly, true,
                   TTypingRoute::FocusedWindow},
        TRouteCase{"NoCaretInOurOwnWindowTypesNowhere", kOurFocusOnly, true, TTypingRoute::Nowhere},
        TRouteCase{"NoCaretAndNoFocusTypesNowhere", kNothingFocused, true, TTypingRoute::Nowhere}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- what carries it ----------------------------------------------------------------------

constexpr std::uint8_t kEnterScan = 0x1C;
constexpr std::uint8_t kTabScan = 0x0F;

std::vector<TPostedMessage> Characters(std::wstring_view text) {
  std::vector<TPostedMessage> messages;
  for (wchar_t c : text) messages.push_back({kCharMessage, static_cast<std::uint32_t>(c), 0});
  return messages;
}

TEST(CaretWindowMessages, WithoutAKeyOnlyTheCharactersWithLParamZeroAsEver) {
  EXPECT_EQ(CaretWindowMessages(L"052,22136", TCardSuffix::None, 0), Characters(L"052,22136"));
}

TEST(CaretWindowMessages, EnterIsAKeyPressAndReleaseOfTheRealKey) {
  std::vector<TPostedMessage> expected = Characters(L"305");
  expected.push_back({kKeyDownMessage, 0x0D, 0x001C0001});
  expected.push_back({kKeyUpMessage, 0x0D, 0xC01C0001});
  EXPECT_EQ(CaretWindowMessages(L"305", TCardSuffix::Enter, kEnterScan), expected);
}

TEST(CaretWindowMessages, TabIsAKeyPressAndReleaseOfTheRealKey) {
  std::vector<TPostedMessage> expected = Characters(L"0A");
  expected.push_back({kKeyDownMessage, 0x09, 0x000F0001});
  expected.push_back({kKeyUpMessage, 0x09, 0xC00F0001});
  EXPECT_EQ(CaretWindowMessages(L"0A", TCardSuffix::Tab, kTabScan), expected);
}

TEST(FocusedWindowKeyEvents, CharactersAsUnicodePressAndReleaseThenTheRealKey) {
  const std::vector<TKeyEvent> expected{
      {0, L'0', true, false},           {0, L'0', true, true},
      {0, L',', true, false},           {0, L',', true, true},
      {0, L'F', true, false},           {0, L'F', true, true},
      {0x0D, kEnterScan, false, false}, {0x0D, kEnterScan, false, true}};
  EXPECT_EQ(FocusedWindowKeyEvents(L"0,F", TCardSuffix::Enter, kEnterScan), expected);
}

TEST(FocusedWindowKeyEvents, NoKeyAfterTheNumberWhenNoneIsChosen) {
  const std::vector<TKeyEvent> expected{{0, L'7', true, false}, {0, L'7', true, true}};
  EXPECT_EQ(FocusedWindowKeyEvents(L"7", TCardSuffix::None, 0), expected);
}

}  // namespace
