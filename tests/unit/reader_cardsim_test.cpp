#include <gtest/gtest.h>

#include <numeric>

#include "tools/cardsim/sim_plan.h"

namespace cardsim {
namespace {

TEST(CardsimFrames, Frame40IsBigEndian) {
  EXPECT_EQ(Frame40(305419896), (TBytes{0x00, 0x12, 0x34, 0x56, 0x78}));
  EXPECT_EQ(Frame40(kMax40Bit), TBytes(5, 0xFF));
  EXPECT_EQ(Frame40(4294967296), (TBytes{0x01, 0x00, 0x00, 0x00, 0x00}));
}

TEST(CardsimFrames, Frame26PutsTheNumberInBytes2To4) {
  EXPECT_EQ(Frame26(3430008), (TBytes{0x00, 0x00, 0x34, 0x56, 0x78}));
  EXPECT_EQ(Frame26(kMax24Bit), (TBytes{0x00, 0x00, 0xFF, 0xFF, 0xFF}));
}

struct THexCase {
  const char* Name;
  const char* Text;
  std::optional<TBytes> Expected;
};

class CardsimHexTest : public testing::TestWithParam<THexCase> {};

TEST_P(CardsimHexTest, Parses) { EXPECT_EQ(ParseHex(GetParam().Text), GetParam().Expected); }

INSTANTIATE_TEST_SUITE_P(
    Hex, CardsimHexTest,
    testing::Values(THexCase{"Packed", "0012AbfF", TBytes{0x00, 0x12, 0xAB, 0xFF}},
                    THexCase{"Spaced", "00 12 34", TBytes{0x00, 0x12, 0x34}},
                    THexCase{"Colons", "de:ad", TBytes{0xDE, 0xAD}},
                    THexCase{"OddDigitCount", "123", std::nullopt},
                    THexCase{"SeparatorInsideByte", "1 2", std::nullopt},
                    THexCase{"NotHex", "0g", std::nullopt}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(CardsimSplit, LeftoverBecomesLastPiece) {
  const TBytes frame{1, 2, 3, 4, 5};
  EXPECT_EQ(SplitFrame(frame, {3}), (std::vector<TBytes>{{1, 2, 3}, {4, 5}}));
  EXPECT_EQ(SplitFrame(frame, {2, 2, 9}), (std::vector<TBytes>{{1, 2}, {3, 4}, {5}}));
  EXPECT_EQ(SplitFrame(frame, {}), (std::vector<TBytes>{frame}));
}

TParsed Parse(std::vector<std::string> args) { return ParseArguments(args); }

TEST(CardsimArguments, SplitFrameHasGapBetweenPiecesAndIntervalBetweenFrames) {
  const auto parsed = Parse({"--port", "COM202", "--card40", "305419896", "--split", "3",
                             "--gap", "60", "--repeat", "2", "--interval", "500"});
  ASSERT_TRUE(parsed.Plan) << parsed.Error;
  EXPECT_EQ(parsed.Plan->Port, "COM202");
  const auto& w = parsed.Plan->Writes;
  ASSERT_EQ(w.size(), 4u);
  EXPECT_EQ(w[0].Bytes, (TBytes{0x00, 0x12, 0x34}));
  EXPECT_EQ(w[0].PauseAfterMs, 60u);
  EXPECT_EQ(w[1].Bytes, (TBytes{0x56, 0x78}));
  EXPECT_EQ(w[1].PauseAfterMs, 500u);
  EXPECT_EQ(w[3].PauseAfterMs, 0u) << "no wait after the last frame";
}

TEST(CardsimArguments, HexNumbersAndCard26) {
  const auto parsed = Parse({"--port", "/dev/x", "--card26", "0xFFFFFF"});
  ASSERT_TRUE(parsed.Plan) << parsed.Error;
  ASSERT_EQ(parsed.Plan->Writes.size(), 1u);
  EXPECT_EQ(parsed.Plan->Writes[0].Bytes, (TBytes{0, 0, 0xFF, 0xFF, 0xFF}));
}

TEST(CardsimArguments, GarbageThenQuietThenFrame) {
  const auto parsed = Parse({"--port", "p", "--garbage", "300", "--seed", "7", "--quiet", "250",
                             "--raw", "0012345678"});
  ASSERT_TRUE(parsed.Plan) << parsed.Error;
  const auto& w = parsed.Plan->Writes;
  ASSERT_GE(w.size(), 2u);
  EXPECT_EQ(w.back().Bytes, (TBytes{0x00, 0x12, 0x34, 0x56, 0x78}));
  EXPECT_EQ(w[w.size() - 2].PauseAfterMs, 250u);
}

struct TBadCase {
  const char* Name;
  std::vector<std::string> Args;
};

class CardsimBadArgumentsTest : public testing::TestWithParam<TBadCase> {};

TEST_P(CardsimBadArgumentsTest, RefusedWithAReason) {
  const auto parsed = Parse(GetParam().Args);
  EXPECT_FALSE(parsed.Plan);
  EXPECT_FALSE(parsed.Help);
  EXPECT_FALSE(parsed.Error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Bad, CardsimBadArgumentsTest,
    testing::Values(TBadCase{"NoPort", {"--card40", "1"}},
                    TBadCase{"NothingToSend", {"--port", "p"}},
                    TBadCase{"Card40Above40Bits", {"--port", "p", "--card40", "1099511627776"}},
                    TBadCase{"Card26Above24Bits", {"--port", "p", "--card26", "16777216"}},
                    TBadCase{"TwoFrameKinds", {"--port", "p", "--card40", "1", "--raw", "00"}},
                    TBadCase{"MissingValue", {"--port", "p", "--card40"}},
                    TBadCase{"TrailingLetters", {"--port", "p", "--card40", "12a"}},
                    TBadCase{"ZeroRepeat", {"--port", "p", "--card40", "1", "--repeat", "0"}},
                    TBadCase{"ZeroSplitPiece", {"--port", "p", "--card40", "1", "--split", "0"}},
                    TBadCase{"GarbageTooLong", {"--port", "p", "--garbage-seconds", "601"}},
                    TBadCase{"UnknownOption", {"--port", "p", "--card", "1"}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(CardsimArguments, HelpWins) {
  const auto parsed = Parse({"--port", "p", "--help"});
  EXPECT_TRUE(parsed.Help);
  EXPECT_NE(UsageText().find("--card40"), std::string_view::npos);
}

TEST(CardsimGarbage, BoundedBySizeAndTimeAndSeeded) {
  const auto a = GarbageWrites(5, 1000, 600'000, 100);
  const auto bytes = std::accumulate(a.begin(), a.end(), std::size_t{0},
                                     [](std::size_t n, const TWrite& w) { return n + w.Bytes.size(); });
  EXPECT_EQ(bytes, 1000u);

  const auto b = GarbageWrites(5, kMaxGarbageBytes, 2000, 100);
  const auto ms = std::accumulate(b.begin(), b.end(), 0u,
                                  [](unsigned n, const TWrite& w) { return n + w.PauseAfterMs; });
  EXPECT_EQ(ms, 2000u);

  const auto again = GarbageWrites(5, 1000, 600'000, 100);
  ASSERT_EQ(again.size(), a.size());
  for (std::size_t i = 0; i < a.size(); ++i) EXPECT_EQ(again[i].Bytes, a[i].Bytes);
  EXPECT_NE(GarbageWrites(6, 1000, 600'000, 100)[0].Bytes, a[0].Bytes);
}

}  // namespace
}  // namespace cardsim
