// The windows at any DPI: designed 96-DPI lengths, font heights, pixel art, the toolbar, the
// drawn menu, the check column and the message dialog's icon, each scaled.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "ui/dialogs/message_dialog.h"
#include "ui/main_window/toolbar_look.h"
#include "ui/setup/setup_form.h"
#include "ui/shell/dpi_scale.h"
#include "ui/shell/sharp_scale.h"
#include "ui/tray/drawn_menu.h"

namespace {

// --- lengths, lines and fonts ----------------------------------------------------------------

struct TLengthCase {
  const char* Name;
  int Designed;
  int Dpi;
  int Scaled;
};

class ScaleToDpiTest : public testing::TestWithParam<TLengthCase> {};

TEST_P(ScaleToDpiTest, RoundsToTheNearestPixel) {
  const TLengthCase& c = GetParam();
  EXPECT_EQ(ScaleToDpi(c.Designed, c.Dpi), c.Scaled);
}

INSTANTIATE_TEST_SUITE_P(Lengths, ScaleToDpiTest,
                         testing::Values(TLengthCase{"At96EveryLengthStays", 341, 96, 341},
                                         TLengthCase{"At144HalfAPixelRoundsUp", 341, 144, 512},
                                         TLengthCase{"At120QuarterRoundsDown", 13, 120, 16},
                                         TLengthCase{"At192Doubles", 51, 192, 102},
                                         TLengthCase{"NegativeRoundsAwayFromZero", -3, 144, -5}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(LineWidthAtDpi, WholePixelsOnly) {
  EXPECT_EQ(LineWidthAtDpi(144), 1);
  EXPECT_EQ(LineWidthAtDpi(191), 1);
  EXPECT_EQ(LineWidthAtDpi(192), 2);
  EXPECT_EQ(LineWidthAtDpi(72), 1);  // never thinner than a pixel
}

TEST(FontHeightAtDpi, PointsToNegativePixelHeights) {
  EXPECT_EQ(FontHeightAtDpi(8, 96), -11);   // the designed windows' font
  EXPECT_EQ(FontHeightAtDpi(14, 96), -19);  // the tray band's
  EXPECT_EQ(FontHeightAtDpi(8, 120), -13);
  EXPECT_EQ(FontHeightAtDpi(9, 144), -18);
}

TEST(ScaleRectToDpi, EachNumberOnItsOwn) {
  // The main window's designed place and size.
  EXPECT_EQ(ScaleRectToDpi({279, 117, 341, 200}, 144), (TDesignedRect{419, 176, 512, 300}));
  // Two controls of the same designed width keep the same width, wherever they stand.
  EXPECT_EQ(ScaleRectToDpi({16, 56, 249, 17}, 120).Width,
            ScaleRectToDpi({17, 57, 249, 17}, 120).Width);
}

// --- pixel art -------------------------------------------------------------------------------

TEST(NearestSource, OneAndAHalfTimesTakesEachPixelOnceOrTwice) {
  std::vector<int> taken;
  for (int x = 0; x < 6; ++x) taken.push_back(NearestSource(x, 48, 32));
  EXPECT_EQ(taken, (std::vector<int>{0, 1, 1, 2, 3, 3}));
  EXPECT_EQ(NearestSource(47, 48, 32), 31);
}

TEST(NearestSource, WholeFactorsAndTheSameSize) {
  for (int x = 0; x < 64; ++x) EXPECT_EQ(NearestSource(x, 64, 32), x / 2) << x;
  for (int x = 0; x < 32; ++x) EXPECT_EQ(NearestSource(x, 32, 32), x) << x;
  for (int x = 0; x < 16; ++x) EXPECT_EQ(NearestSource(x, 16, 32), 2 * x + 1) << x;
}

// A 4 x 2 picture of distinct colours, row by row.
const std::vector<std::uint32_t> kPicture{1, 2, 3, 4, 5, 6, 7, 8};

TEST(ScalePixelsSharp, DoublesEveryPixelIntoASquare) {
  const auto scaled = ScalePixelsSharp(kPicture, 4, 2, 8, 4);
  ASSERT_EQ(scaled.size(), 32u);
  const std::vector<std::uint32_t> firstRow{1, 1, 2, 2, 3, 3, 4, 4};
  EXPECT_EQ(std::vector<std::uint32_t>(scaled.begin(), scaled.begin() + 8), firstRow);
  EXPECT_EQ(std::vector<std::uint32_t>(scaled.begin() + 8, scaled.begin() + 16), firstRow);
  EXPECT_EQ(scaled[16], 5u);
  EXPECT_EQ(scaled[31], 8u);
}

TEST(ScalePixelsSharp, NoColourAppearsThatWasNotThere) {
  // A glyph's transparent key must come out exactly itself: no blend of neighbours.
  const std::uint32_t key = 0xFF00FF;
  std::vector<std::uint32_t> glyph(32 * 32, key);
  for (int i = 0; i < 32; ++i) glyph[static_cast<std::size_t>(i * 32 + i)] = 0x000000;
  const auto scaled = ScalePixelsSharp(glyph, 32, 32, 48, 48);
  ASSERT_EQ(scaled.size(), 48u * 48u);
  const std::set<std::uint32_t> colours(scaled.begin(), scaled.end());
  EXPECT_EQ(colours, (std::set<std::uint32_t>{0x000000, key}));
  EXPECT_EQ(scaled.front(), 0x000000u);  // the diagonal's first pixel stays where it was
  EXPECT_EQ(scaled[47], key);
}

TEST(ScalePixelsSharp, ShrinksAndRefusesWhatIsNoPicture) {
  // Each kept pixel is the one nearest the centre of what it stands for.
  EXPECT_EQ(ScalePixelsSharp(kPicture, 4, 2, 2, 1), (std::vector<std::uint32_t>{6, 8}));
  EXPECT_TRUE(ScalePixelsSharp(kPicture, 4, 2, 0, 4).empty());
  EXPECT_TRUE(ScalePixelsSharp(kPicture, 4, 3, 8, 6).empty());  // fewer pixels than 4 x 3
  EXPECT_TRUE(ScalePixelsSharp({}, 0, 0, 8, 8).empty());
}

// --- the main window's toolbar ---------------------------------------------------------------

TEST(ToolBarAtDpi, At144OneAndAHalfTimes) {
  const TToolBarMetrics m = ToolBarMetricsAtDpi(144);
  EXPECT_EQ(m.ButtonWidth, 96);
  EXPECT_EQ(m.ButtonHeight, 77);
  EXPECT_EQ(m.ButtonTop, 5);
  EXPECT_EQ(m.BarHeight, 5 + 77 + 5);  // the gap below as wide as the one above
  EXPECT_EQ(m.GlyphSize, 48);
  EXPECT_EQ(m.LineWidth, 1);
  EXPECT_EQ(DropDownRowsAtDpi(144), (std::vector<int>{11, 9, 7, 5, 3, 1}));
  EXPECT_EQ(ToolBarMetricsAtDpi(192).LineWidth, 2);
}

TEST(ToolBarAtDpi, RightButtonsKeepTheScaledGapToTheEdge) {
  // The designed window at 144 DPI is 512 wide; the gap of 10 becomes 15.
  EXPECT_EQ(ExitButtonLeft(512, 144), 512 - 96 - 15);
  EXPECT_EQ(HelpButtonLeft(512, 144), 512 - 2 * 96 - 15);
  EXPECT_EQ(ExitButtonLeft(682, 192) + 128, 682 - 20);
}

// --- the drawn tray menu ---------------------------------------------------------------------

TEST(BandAtDpi, EtchedEdgeInWholeLinesAndTheWordLiftedInProportion) {
  const TBandLayout at144 = LayoutBand(MarginBox({0, 0, 300, 300}, ScaleToDpi(24, 144)), true, 144);
  EXPECT_EQ(at144.Gradient, (TBox{0, 0, 33, 300}));
  EXPECT_EQ(at144.ShadowX, 34);
  EXPECT_EQ(at144.HighlightX, 35);
  EXPECT_EQ(at144.LineWidth, 1);
  EXPECT_EQ(at144.TextY, 300 - 8);

  const TBandLayout at192 = LayoutBand(MarginBox({0, 0, 300, 300}, ScaleToDpi(24, 192)), true, 192);
  EXPECT_EQ(at192.Gradient, (TBox{0, 0, 42, 300}));
  EXPECT_EQ(at192.ShadowX, 44);
  EXPECT_EQ(at192.HighlightX, 46);
  EXPECT_EQ(at192.LineWidth, 2);
  EXPECT_EQ(at192.TextY, 300 - 10);
}

TEST(MenuItemAtDpi, PictureGapsAndSeparatorScale) {
  // At 144 DPI: a 48-pixel cell, SM_CYMENU 28, a check mark 20 wide (gap 6), margin 36.
  const TMenuMetrics metrics{28, 20, true, 36, 0, 144};
  const TItemTextSizes text{120, 5, 0, 20, 20};
  const TSize command = MeasureMenuItem(metrics, {false, true, false, TSize{48, 48}}, text);
  EXPECT_EQ(command.Height, 48 + 6);
  EXPECT_EQ(command.Width, 2 * 6 + 120 + 5 + (48 + 3) + 36 + 1);
  const TSize separator = MeasureMenuItem(metrics, {true, true, false, std::nullopt}, text);
  EXPECT_EQ(separator.Height, 14);  // at least 9 designed pixels

  const TItemLayout layout = LayoutMenuItem({37, 0, 300, 54}, 20, TSize{48, 48}, 0, 20, 144);
  EXPECT_EQ(layout.PictureX, 37 + 6 + 1);
  EXPECT_EQ(layout.PictureY, 3);
  EXPECT_EQ(layout.TextX, 37 + 6 + 51 + 6);
}

// --- the setup dialog's check column ---------------------------------------------------------

TEST(CheckColumnAtDpi, WidensWithTheRows) {
  EXPECT_TRUE(InCheckColumn(17));
  EXPECT_FALSE(InCheckColumn(18));
  EXPECT_TRUE(InCheckColumn(26, 144));
  EXPECT_FALSE(InCheckColumn(27, 144));
  EXPECT_FALSE(InCheckColumn(-1, 144));
}

// --- the message dialog's icon ---------------------------------------------------------------

TEST(MessageDialogAtDpi, TheIconsSizeMakesRoomBesideAndAboveTheButtons) {
  TMessageLayoutInput in{MessageSpacing(9, 20), 113,  200,  20, true,
                         {MessageButton::OK},   1536, 1152, 9,  37};
  in.IconSize = 48;
  const TMessageLayout l = LayoutMessageForm(in);
  ASSERT_TRUE(l.Icon.has_value());
  EXPECT_EQ(*l.Icon, (TLayoutRect{in.Spacing.HorizontalMargin, in.Spacing.VerticalMargin, 48, 48}));
  EXPECT_EQ(l.Label.Left, in.Spacing.HorizontalMargin + 48 + in.Spacing.HorizontalSpacing);
  EXPECT_EQ(l.Buttons[0].second.Top, in.Spacing.VerticalMargin + 48 + in.Spacing.VerticalSpacing);
}

}  // namespace
