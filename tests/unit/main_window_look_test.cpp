#include <gtest/gtest.h>

#include "ui/main_window/main_status.h"
#include "ui/main_window/toolbar_look.h"

namespace {

TSettings WithPort(std::uint8_t port, std::uint8_t readerType = 0) {
  TSettings s;
  s.PortNumber = port;
  s.ReaderType = readerType;
  return s;
}

TEST(MainStatus, OpenPortReadsGreen) {
  const MainStatus status = DescribeStatus(WithPort(2), PortOpen);
  EXPECT_EQ(status.ReaderType, L"26 bit");
  EXPECT_EQ(status.Port, L"COM2 - Порт открыт");
  EXPECT_EQ(status.PortColour, 0x008000u);
}

TEST(MainStatus, PortThatDidNotOpenReadsRed) {
  const MainStatus status = DescribeStatus(WithPort(0, 1), PortClosed);
  EXPECT_EQ(status.ReaderType, L"40/42 bit");
  EXPECT_EQ(status.Port, L"COM0 - Порт не открыт");
  EXPECT_EQ(status.PortColour, 0x0000FFu);
}

TEST(MainStatus, MissingPortObjectAndHighNumbers) {
  EXPECT_EQ(DescribeStatus(WithPort(255), PortMissing).Port, L"COM255 - Порт не инициализирован");
  EXPECT_EQ(PortFailedOf(PortMissing), 1);
  EXPECT_EQ(PortFailedOf(PortClosed), 1);
  EXPECT_EQ(PortFailedOf(PortOpen), 0);
}

TEST(ToolbarLayout, RightButtonsFollowTheOuterWidth) {
  // At the designed width of 341 the buttons stand at 203 and 267.
  EXPECT_EQ(HelpButtonLeft(341), 203);
  EXPECT_EQ(ExitButtonLeft(341), 267);
  EXPECT_EQ(ExitButtonLeft(600) + kToolButtonWidth, 600 - 10);
  EXPECT_EQ(HelpButtonLeft(600) + kToolButtonWidth, ExitButtonLeft(600));
  EXPECT_EQ(kToolBarHeight, 57);
}

struct GreyCase {
  const char* name;
  Colour pixel;
  Colour expected;
};

class GlyphGreying : public testing::TestWithParam<GreyCase> {};

constexpr Colour kMagenta = 0xFF00FF;
constexpr Colour kFace = 0xC0C0C0;

TEST_P(GlyphGreying, WeighsTheChannels) {
  EXPECT_EQ(GreyGlyphPixel(GetParam().pixel, kMagenta, kFace), GetParam().expected);
}

const GreyCase kGreyCases[] = {
    {"PureRed", 0x0000FF, 0x4C4C4C},    // 77 * 255 / 256 = 76
    {"PureGreen", 0x00FF00, 0x959595},  // 150 * 255 / 256 = 149
    {"PureBlue", 0xFF0000, 0x1C1C1C},   // 29 * 255 / 256 = 28
    {"White", 0xFFFFFF, 0xFFFFFF},      // 256 * 255 / 256
    {"Black", 0x000000, 0x000000},
    {"TransparentUntouched", kMagenta, kMagenta},
    {"ButtonFaceUntouched", kFace, kFace},
    {"Yellow", 0x00FFFF, 0xE2E2E2},  // (77 + 150) * 255 / 256 = 226
};

INSTANTIATE_TEST_SUITE_P(Pixels, GlyphGreying, testing::ValuesIn(kGreyCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
