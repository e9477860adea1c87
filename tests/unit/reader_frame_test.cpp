#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <vector>

#include "core/common.h"
#include "reader/frame_reader.h"

namespace {

using TBytes = std::vector<std::uint8_t>;

// A line that hands out one scripted read per poll; nullopt is a failed read.
class TScriptedPort final : public TReaderPort {
 public:
  explicit TScriptedPort(std::vector<std::optional<TBytes>> reads)
      : Reads_(reads.begin(), reads.end()) {}

  bool Receive(std::span<std::uint8_t, kPortReadSize> destination,
               std::uint32_t& count) override {
    if (Reads_.empty()) {
      count = 0;
      return true;
    }
    const auto read = Reads_.front();
    Reads_.pop_front();
    if (!read) return false;
    std::copy(read->begin(), read->end(), destination.begin());
    count = static_cast<std::uint32_t>(read->size());
    return true;
  }
  void Purge() override { ++Purges; }

  int Purges = 0;

 private:
  std::deque<std::optional<TBytes>> Reads_;
};

class ReaderTypeScope {
 public:
  explicit ReaderTypeScope(std::uint8_t type) : Saved_(ReaderTypeNow()) { SetReaderType(type); }
  ~ReaderTypeScope() { SetReaderType(Saved_); }

 private:
  std::uint8_t Saved_;
};

struct TPollResult {
  std::vector<CardCode> Codes;
  int Purges = 0;
  int CountAfter = 0;
};

TPollResult PollAll(std::vector<std::optional<TBytes>> reads, std::uint8_t readerType) {
  ReaderTypeScope type(readerType);
  TScriptedPort port(reads);
  TFrameAccumulator frame;
  TPollResult result;
  for (std::size_t i = 0; i < reads.size(); ++i) {
    CardCode code = 0;
    if (ReadFrame(&port, frame, code)) result.Codes.push_back(code);
  }
  result.Purges = port.Purges;
  result.CountAfter = frame.Count();
  return result;
}

struct TDecodeCase {
  const char* Name;
  TBytes Frame;
  std::uint8_t ReaderType;
  CardCode Expected;
};

class ReaderDecodeTest : public testing::TestWithParam<TDecodeCase> {};

TEST_P(ReaderDecodeTest, OneReadOfAWholeFrameTypesItsNumber) {
  const auto& c = GetParam();
  const auto result = PollAll({c.Frame}, c.ReaderType);
  EXPECT_EQ(result.Codes, std::vector<CardCode>{c.Expected});
  EXPECT_EQ(result.Purges, 1) << "a complete frame drops what followed it";
  EXPECT_EQ(result.CountAfter, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, ReaderDecodeTest,
    testing::Values(
        TDecodeCase{"Type1KeepsAll40Bits", {0x00, 0x12, 0x34, 0x56, 0x78}, 1, 305419896},
        TDecodeCase{"Type0KeepsLow24Bits", {0x00, 0x12, 0x34, 0x56, 0x78}, 0, 3430008},
        TDecodeCase{"Type1AllOnesIs40BitMaximum", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 1,
                    1099511627775},
        TDecodeCase{"Type0AllOnesIs24BitMaximum", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 0, 16777215},
        TDecodeCase{"Type1FirstByteIsBits39To32", {0x01, 0x00, 0x00, 0x00, 0x00}, 1,
                    4294967296},
        TDecodeCase{"Type0IgnoresFirstTwoBytes", {0x01, 0x00, 0x00, 0x00, 0x00}, 0, 0},
        TDecodeCase{"AnyNonZeroTypeReads40Bits", {0x01, 0x02, 0x00, 0x00, 0x07}, 7,
                    4328521735},
        TDecodeCase{"LastByteIsLeastSignificant", {0x00, 0x00, 0x00, 0x01, 0x02}, 1, 258}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TStreamCase {
  const char* Name;
  std::vector<std::optional<TBytes>> Reads;
  std::vector<CardCode> Expected;
  int Purges;
  int CountAfter;
};

class ReaderStreamTest : public testing::TestWithParam<TStreamCase> {};

TEST_P(ReaderStreamTest, AssemblesFramesAcrossPolls) {
  const auto& c = GetParam();
  const auto result = PollAll(c.Reads, 1);
  EXPECT_EQ(result.Codes, c.Expected);
  EXPECT_EQ(result.Purges, c.Purges);
  EXPECT_EQ(result.CountAfter, c.CountAfter);
}

const TBytes kFrame = {0x00, 0x12, 0x34, 0x56, 0x78};
constexpr CardCode kCode = 305419896;

INSTANTIATE_TEST_SUITE_P(
    Streams, ReaderStreamTest,
    testing::Values(
        TStreamCase{"SplitThreeThenTwoIsTypedOnce",
                    {TBytes{0x00, 0x12, 0x34}, TBytes{0x56, 0x78}}, {kCode}, 1, 0},
        TStreamCase{"ByteByByteIsTypedOnce",
                    {TBytes{0x00}, TBytes{0x12}, TBytes{0x34}, TBytes{0x56}, TBytes{0x78}},
                    {kCode}, 1, 0},
        TStreamCase{"ThreeThenThreeOverflowsAndPurges",
                    {TBytes{0x00, 0x12, 0x34}, TBytes{0x56, 0x78, 0x9A}}, {}, 1, 0},
        TStreamCase{"TwoFramesInOneReadAreBothDropped",
                    {TBytes{0x00, 0x12, 0x34, 0x56, 0x78, 0x00, 0x12, 0x34, 0x56, 0x78}},
                    {}, 1, 0},
        TStreamCase{"SixBytesInOneReadAreDropped",
                    {TBytes{0x00, 0x12, 0x34, 0x56, 0x78, 0x9A}}, {}, 1, 0},
        TStreamCase{"FullReadOf512IsDropped", {TBytes(512, 0xAA)}, {}, 1, 0},
        TStreamCase{"OneEmptyReadKeepsTheFrameInProgress",
                    {TBytes{0x00, 0x12}, TBytes{}, TBytes{0x34, 0x56, 0x78}}, {kCode}, 1, 0},
        TStreamCase{"FailedReadsKeepTheFrameInProgress",
                    {TBytes{0x00, 0x12}, std::nullopt, std::nullopt, std::nullopt,
                     TBytes{0x34, 0x56, 0x78}},
                    {kCode}, 1, 0},
        TStreamCase{"EmptyReadsKeepAnEmptyAccumulatorEmpty", {TBytes{}, TBytes{}, kFrame},
                    {kCode}, 1, 0},
        TStreamCase{"TwoQuietPollsDropAStrayPartialFrame",
                    {TBytes{0xAA, 0xBB}, TBytes{}, TBytes{}, kFrame}, {kCode}, 1, 0},
        TStreamCase{"BytesBetweenQuietPollsRestartTheQuietCount",
                    {TBytes{0x00}, TBytes{}, TBytes{0x12, 0x34}, TBytes{}, TBytes{0x56, 0x78}},
                    {kCode}, 1, 0},
        TStreamCase{"StrayBytesKeptWithoutQuietMakeTheNextFrameOverflow",
                    {TBytes{0xAA, 0xBB}, TBytes{}, kFrame}, {}, 1, 0},
        TStreamCase{"PartialFrameStaysHeld", {TBytes{0x00, 0x12, 0x34, 0x56}}, {}, 0, 4},
        TStreamCase{"FrameAfterOverflowIsTyped",
                    {TBytes{0x01, 0x02, 0x03}, TBytes{0x04, 0x05, 0x06}, kFrame}, {kCode}, 2,
                    0},
        TStreamCase{"BackToBackFramesInSeparateReadsAreBothTyped", {kFrame, kFrame},
                    {kCode, kCode}, 2, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ReaderFrame, NoPortReadsNothing) {
  TFrameAccumulator frame;
  CardCode code = 42;
  EXPECT_FALSE(ReadFrame(nullptr, frame, code));
  EXPECT_EQ(code, 42u);
}

TEST(ReaderFrame, ReaderTypeIsTakenWhenTheFrameCompletes) {
  TScriptedPort port({TBytes{0x00, 0x12, 0x34}, TBytes{0x56, 0x78}});
  TFrameAccumulator frame;
  CardCode code = 0;
  ReaderTypeScope type(0);
  EXPECT_FALSE(ReadFrame(&port, frame, code));
  SetReaderType(1);
  ASSERT_TRUE(ReadFrame(&port, frame, code));
  EXPECT_EQ(code, kCode);
}

struct TTextCase {
  const char* Name;
  CardCode Code;
  const wchar_t* Expected;
};

class CardCodeTextTest : public testing::TestWithParam<TTextCase> {};

TEST_P(CardCodeTextTest, DigitsOnly) {
  EXPECT_EQ(CardCodeText(GetParam().Code), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CardCodeTextTest,
    testing::Values(TTextCase{"ZeroIsOneDigit", 0, L"0"},
                    TTextCase{"TrailingZerosKept", 4294967296, L"4294967296"},
                    TTextCase{"FortyBitMaximum", 1099511627775, L"1099511627775"},
                    TTextCase{"SingleDigit", 7, L"7"}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
