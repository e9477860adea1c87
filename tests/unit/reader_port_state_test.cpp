#include <gtest/gtest.h>

#include "reader/port_state.h"

namespace {

struct TTextCase {
  const char* Name;
  int State;
  const wchar_t* Expected;
};

class PortStateTextTest : public testing::TestWithParam<TTextCase> {};

TEST_P(PortStateTextTest, RussianTextPerState) {
  EXPECT_STREQ(PortStateText(GetParam().State), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    States, PortStateTextTest,
    testing::Values(TTextCase{"Open", 0, L"Порт открыт"},
                    TTextCase{"Missing", 1, L"Порт не инициализирован"},
                    TTextCase{"Closed", 2, L"Порт не открыт"},
                    TTextCase{"UnknownAbove", 3, L"?"}, TTextCase{"UnknownNegative", -1, L"?"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(PortState, FromPortObject) {
  EXPECT_EQ(PortStateOf(false, true), PortMissing);
  EXPECT_EQ(PortStateOf(true, true), PortClosed);
  EXPECT_EQ(PortStateOf(true, false), PortOpen);
}

TEST(PortDevicePath, DecimalNumberWithoutBlanks) {
  EXPECT_EQ(PortDevicePath(2), L"\\\\.\\COM2");
  EXPECT_EQ(PortDevicePath(12), L"\\\\.\\COM12");
  EXPECT_EQ(PortDevicePath(255), L"\\\\.\\COM255");
  EXPECT_EQ(PortDevicePath(0), L"\\\\.\\COM0");
}

}  // namespace
