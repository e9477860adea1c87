#include <gtest/gtest.h>

#include <optional>

#include "core/ini_value.h"

namespace {

struct IntegerCase {
  const char* name;
  const wchar_t* text;
  std::optional<std::int32_t> expected;
};

class IniIntegerRule : public testing::TestWithParam<IntegerCase> {};

TEST_P(IniIntegerRule, ReadsOrRefuses) {
  EXPECT_EQ(ParseIniInteger(GetParam().text), GetParam().expected);
}

const IntegerCase kIntegerCases[] = {
    {"Plain", L"12", 12},
    {"Zero", L"0", 0},
    {"LeadingBlanks", L"   7", 7},
    {"PlusSign", L"+5", 5},
    {"MinusSign", L"-1", -1},
    {"Int32Max", L"2147483647", 2147483647},
    {"Int32Min", L"-2147483648", INT32_MIN},
    {"AboveInt32Max", L"2147483648", std::nullopt},
    {"BelowInt32Min", L"-2147483649", std::nullopt},
    {"HugeDecimal", L"99999999999999999999", std::nullopt},
    {"DollarHex", L"$0C", 12},
    {"SmallXHex", L"x0c", 12},
    {"CapitalXHex", L"X1F", 31},
    {"ZeroXHex", L"0x0C", 12},
    {"ZeroCapitalXHex", L"0X0c", 12},
    {"AllOnesPatternIsMinusOne", L"$FFFFFFFF", -1},
    {"HighBitPattern", L"$80000000", INT32_MIN},
    {"HexLeadingZerosStillFit", L"$000000001", 1},
    {"HexOver32Bits", L"$100000000", std::nullopt},
    {"BlanksBeforeHex", L"  $10", 16},
    {"SignBeforeHex", L"-$10", std::nullopt},
    {"PlusBeforeHex", L"+0x10", std::nullopt},
    {"PrefixWithoutDigits", L"$", std::nullopt},
    {"ZeroXWithoutDigits", L"0x", std::nullopt},
    {"NonHexDigit", L"$1G", std::nullopt},
    {"LettersAfterNumber", L"12a", std::nullopt},
    {"TrailingBlank", L"12 ", std::nullopt},
    {"SignAlone", L"-", std::nullopt},
    {"Word", L"true", std::nullopt},
    {"Empty", L"", std::nullopt},
    {"OnlyBlanks", L"   ", std::nullopt},
    {"TabIsNotABlank", L"\t5", std::nullopt},
    {"DecimalPoint", L"1.5", std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Forms, IniIntegerRule, testing::ValuesIn(kIntegerCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IniIntegerText, WritesPlainDecimal) {
  EXPECT_EQ(IniIntegerText(0), L"0");
  EXPECT_EQ(IniIntegerText(-4), L"-4");
  EXPECT_EQ(IniIntegerText(INT32_MIN), L"-2147483648");
}

TEST(IniIntegerOr, FallsBackOnlyWhenNotANumber) {
  EXPECT_EQ(IniIntegerOr(L"12a", 99), 99);
  EXPECT_EQ(IniIntegerOr(L"0", 99), 0);
}

}  // namespace
