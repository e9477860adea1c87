#include <gtest/gtest.h>

#include <string>

#include "ui/tray/drawn_menu.h"

namespace {

int Height(const TGradientBand& band) { return band.Box.Bottom - band.Box.Top; }

TEST(GradientBands, ShortBoxOneBandPerRow) {
  const auto bands = GradientBands({0, 10, 21, 30}, kBandStart, kBandEnd, kBandColours);
  ASSERT_EQ(bands.size(), 20u);
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(bands[i].Box, (TBox{0, 10 + i, 21, 11 + i})) << i;
  }
  EXPECT_EQ(bands.front().Colour, kBandStart);
  EXPECT_EQ(bands.back().Colour, kBandEnd);
}

TEST(GradientBands, HundredRowsThirtyTwoBandsOfThreeThenEndColour) {
  const auto bands = GradientBands({0, 0, 21, 100}, kBandStart, kBandEnd, kBandColours);
  ASSERT_EQ(bands.size(), 33u);
  for (int i = 0; i < 32; ++i) {
    EXPECT_EQ(bands[i].Box.Top, 3 * i) << i;
    EXPECT_EQ(Height(bands[i]), 3) << i;
  }
  EXPECT_EQ(bands[32].Box, (TBox{0, 96, 21, 100}));
  EXPECT_EQ(bands[32].Colour, kBandEnd);
  EXPECT_EQ(bands[31].Colour, kBandEnd);
}

TEST(GradientBands, ChannelsRoundToNearest) {
  const auto bands = GradientBands({0, 0, 1, 64}, kBandStart, kBandEnd, kBandColours);
  // Red falls by 255/31 per band: band 1 is 255 - 8.23 -> 247, band 16 is 255 - 131.6 -> 123.
  EXPECT_EQ(bands[1].Colour, (TRgb{247, 247, 2}));
  EXPECT_EQ(bands[16].Colour, (TRgb{123, 123, 33}));
}

TEST(GradientBands, FewerThanTwoColoursFillsWithStart) {
  for (const int colours : {1, 0, -5}) {
    const auto bands = GradientBands({2, 3, 10, 50}, {1, 2, 3}, {9, 9, 9}, colours);
    ASSERT_EQ(bands.size(), 1u) << colours;
    EXPECT_EQ(bands[0], (TGradientBand{{2, 3, 10, 50}, {1, 2, 3}})) << colours;
  }
}

TEST(GradientBands, EmptyBoxPaintsNothing) {
  EXPECT_TRUE(GradientBands({0, 5, 21, 5}, kBandStart, kBandEnd, 32).empty());
  EXPECT_TRUE(GradientBands({21, 0, 21, 50}, kBandStart, kBandEnd, 32).empty());
  EXPECT_TRUE(GradientBands({0, 9, 21, 5}, kBandStart, kBandEnd, 1).empty());
}

TEST(GradientBands, OneRowTakesEndColour) {
  const auto bands = GradientBands({0, 0, 4, 1}, kBandStart, kBandEnd, 32);
  ASSERT_EQ(bands.size(), 1u);
  EXPECT_EQ(bands[0], (TGradientBand{{0, 0, 4, 1}, kBandEnd}));
}

TEST(GradientBands, BandsCoverBoxWithoutGaps) {
  for (int height = 1; height <= 200; ++height) {
    const auto bands = GradientBands({0, 7, 21, 7 + height}, kBandStart, kBandEnd, 32);
    int next = 7;
    for (const auto& band : bands) {
      EXPECT_EQ(band.Box.Top, next) << height;
      next = band.Box.Bottom;
    }
    EXPECT_EQ(next, 7 + height) << height;
  }
}

TEST(Band, NewShellLeavesRoomForEtchedEdge) {
  const TBandLayout layout = LayoutBand(MarginBox({3, 40, 200, 190}, 24), true);
  EXPECT_EQ(layout.Gradient, (TBox{0, 40, 21, 190}));
  EXPECT_EQ(layout.ShadowX, 22);
  EXPECT_EQ(layout.HighlightX, 23);
  EXPECT_EQ(layout.TextX, 0);
  EXPECT_EQ(layout.TextY, 185);
}

TEST(Band, OldShellFillsWholeMarginWithoutEdge) {
  const TBandLayout layout = LayoutBand({0, 0, 24, 100}, false);
  EXPECT_EQ(layout.Gradient, (TBox{0, 0, 24, 100}));
  EXPECT_FALSE(layout.ShadowX);
  EXPECT_FALSE(layout.HighlightX);
}

struct TGapCase {
  int CheckWidth;
  int Gap;
};

TEST(CheckMarkGap, ThreeTenthsRounded) {
  for (const TGapCase row : {TGapCase{13, 4}, {15, 5}, {16, 5}, {11, 3}, {0, 0}, {10, 3}})
    EXPECT_EQ(CheckMarkGap(row.CheckWidth), row.Gap) << row.CheckWidth;
}

TEST(MeasuredCaption, AmpersandsDroppedTwoTabsAdded) {
  EXPECT_EQ(MeasuredCaption(L"&Файл"), L"Файл\t\t");
  EXPECT_EQ(MeasuredCaption(L"Установки ..."), L"Установки ...\t\t");
  EXPECT_EQ(MeasuredCaption(L"a&&b"), L"ab\t\t");
}

struct TMeasureCase {
  const char* Name;
  TMenuMetrics Metrics;
  TItemShape Shape;
  TItemTextSizes Text;
  TSize Expected;
};

class MeasureMenuItemTest : public testing::TestWithParam<TMeasureCase> {};

TEST_P(MeasureMenuItemTest, FromGivenMetrics) {
  const auto& row = GetParam();
  EXPECT_EQ(MeasureMenuItem(row.Metrics, row.Shape, row.Text), row.Expected);
}

constexpr TMenuMetrics kTray{19, 13, true, 24, 0};
constexpr TItemTextSizes kText{80, 3, 0, 13, 13};
constexpr TSize kCell{32, 32};

INSTANTIATE_TEST_SUITE_P(
    Items, MeasureMenuItemTest,
    testing::Values(
        // 2*4 + 80 + 3 + 34 + 25 wide; the picture makes it 36 high.
        TMeasureCase{"CommandWithCell", kTray, {false, true, false, kCell}, kText, {150, 36}},
        TMeasureCase{"SeparatorAtLeastNine", kTray, {true, true, false, std::nullopt},
                     {20, 3, 0, 13, 13}, {8 + 23 + 25, 9}},
        TMeasureCase{"TallDashSeparatorHalfItsHeight", kTray, {true, true, false, std::nullopt},
                     {20, 3, 0, 13, 30}, {8 + 23 + 25, 15}},
        TMeasureCase{"NoPictureMenuHeightLessTwo", kTray, {false, true, false, std::nullopt},
                     {80, 3, 0, 13, 13}, {8 + 83 + 25, 17}},
        TMeasureCase{"OldShellFullMenuHeight", {19, 13, false, 24, 0},
                     {false, true, false, std::nullopt}, kText, {8 + 83 + 25, 19}},
        TMeasureCase{"TallCaptionWins", kTray, {false, true, false, std::nullopt},
                     {80, 3, 0, 25, 13}, {8 + 83 + 25, 25}},
        TMeasureCase{"NotTopLevelNoMargin", kTray, {false, false, false, kCell}, kText,
                     {8 + 83 + 34, 36}},
        TMeasureCase{"SubmenuAddsTabs", kTray, {false, true, true, std::nullopt},
                     {80, 3, 16, 13, 13}, {8 + 83 + 16 + 25, 17}},
        TMeasureCase{"MinTextOffsetWithoutPicture", {19, 13, true, 24, 40},
                     {false, true, false, std::nullopt}, kText, {8 + 83 + 40 + 25, 17}},
        TMeasureCase{"MinTextOffsetWiderThanPicture", {19, 13, true, 24, 50},
                     {false, true, false, kCell}, kText, {8 + 83 + 50 + 25, 36}},
        TMeasureCase{"EmptyPictureIgnored", kTray, {false, true, false, TSize{0, 0}}, kText,
                     {8 + 83 + 25, 17}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(LayoutMenuItem, CellCentredCaptionAfterIt) {
  const TBox item = ItemBoxPastMargin({0, 40, 150, 76}, true, 24);
  EXPECT_EQ(item.Left, 25);
  const TItemLayout layout = LayoutMenuItem(item, 13, kCell, 0, 13);
  EXPECT_EQ(layout.PictureX, 25 + 4 + 1);
  EXPECT_EQ(layout.PictureY, 42);
  EXPECT_EQ(layout.TextX, 25 + 4 + 34 + 4);
  EXPECT_EQ(layout.TextY, 51);
  EXPECT_EQ(layout.SeparatorY, 58);
}

TEST(ItemBoxPastMargin, OnlyTopLevelMovesRight) {
  EXPECT_EQ(ItemBoxPastMargin({3, 0, 100, 20}, false, 24), (TBox{3, 0, 100, 20}));
  EXPECT_EQ(ItemBoxPastMargin({3, 0, 100, 20}, true, 24), (TBox{28, 0, 100, 20}));
}

}  // namespace
