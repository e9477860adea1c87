// The reader loop against a fake line that delivers bytes at moments of its own clock: when
// a card is typed, what is joined, dropped or realigned at the line's pace, how long the loop
// sleeps, and how it ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "core/common.h"
#include "reader/reader_loop.h"

// The host build has no platform stop: the fake line raises it itself when its script ends.
class TStopSignal {};

namespace {

using namespace std::chrono_literals;
using TBytes = std::vector<std::uint8_t>;
using TMicros = std::chrono::microseconds;

// One byte's time on the wire at the reader's speed.
constexpr TMicros kByteTime = FrameTime(kLineBaud) / kFrameSize;

struct TLineEvent {
  TMicros At;
  TBytes Bytes;
  std::optional<std::uint32_t> ReadError;  // the next read fails with it
  bool Lost = false;                       // the system reports the device gone
  std::function<void()> Then;              // runs when the event happens
};

TLineEvent Chunk(std::chrono::milliseconds at, TBytes bytes) { return {at, std::move(bytes)}; }
TLineEvent FailRead(std::chrono::milliseconds at, std::uint32_t error) {
  return {at, {}, error};
}
TLineEvent LoseLine(std::chrono::milliseconds at) { return {at, {}, std::nullopt, true}; }

// The bytes one by one, as a reader sends them at the line's speed.
std::vector<TLineEvent> Wire(std::chrono::milliseconds at, const TBytes& bytes) {
  std::vector<TLineEvent> events;
  for (std::size_t i = 0; i < bytes.size(); ++i)
    events.push_back({at + kByteTime * static_cast<int>(i), {bytes[i]}});
  return events;
}

// A line whose clock moves only when the loop waits: a wait ends at the next event or when
// its limit passes, whichever is first; once the script is played the stop is raised.
class TTimedLine final : public TReaderPort {
 public:
  explicit TTimedLine(std::vector<TLineEvent> events) : Events_(events.begin(), events.end()) {
    std::ranges::stable_sort(Events_, {}, &TLineEvent::At);
  }

  TPortWake Wait(std::optional<std::chrono::milliseconds> limit, const TStopSignal&) override {
    Limits.push_back(limit);
    if (!Buffer_.empty() || PendingError_) return TPortWake::Bytes;
    if (Events_.empty()) return TPortWake::Stop;
    if (limit && Clock + *limit < Events_.front().At) {
      Clock += *limit;
      return TPortWake::Quiet;
    }
    TLineEvent next = std::move(Events_.front());
    Events_.pop_front();
    Clock = std::max(Clock, next.At);
    if (next.Then) next.Then();
    if (next.Lost) return TPortWake::Lost;
    PendingError_ = next.ReadError;
    Buffer_.insert(Buffer_.end(), next.Bytes.begin(), next.Bytes.end());
    return TPortWake::Bytes;
  }

  bool Receive(std::span<std::uint8_t, kPortReadSize> destination,
               std::uint32_t& count) override {
    ++Reads;
    if (PendingError_) {
      Error_ = *std::exchange(PendingError_, std::nullopt);
      return false;
    }
    count = static_cast<std::uint32_t>(std::min(Buffer_.size(), destination.size()));
    std::copy_n(Buffer_.begin(), count, destination.begin());
    Buffer_.erase(Buffer_.begin(), Buffer_.begin() + count);
    return true;
  }
  void Purge() override { Buffer_.clear(); }
  std::uint32_t LastReadError() const override { return Error_; }
  TMicros Now() const override { return Clock; }

  TMicros Clock{0};
  int Reads = 0;
  std::vector<std::optional<std::chrono::milliseconds>> Limits;

 private:
  std::deque<TLineEvent> Events_;
  TBytes Buffer_;
  std::optional<std::uint32_t> PendingError_;
  std::uint32_t Error_ = 0;
};

struct TTypedCard {
  CardCode Code;
  TMicros At;
};

// Types everything, except a card it was told to refuse; the sink hears every outcome.
class TRecordingDesk final : public TTyper, public TOutcomeSink {
 public:
  explicit TRecordingDesk(TTimedLine& line) : Line_(line) {}

  TCardOutcome Type(CardCode code) override {
    Typed.push_back({code, Line_.Clock});
    Line_.Clock += TypingTime;
    const TNotTyped reason = code == Refuse ? TNotTyped::NoCaret : TNotTyped::None;
    return {{code, TCardFormat::Decimal, ReaderTypeNow(), reason}, {L"Окно", L"app.exe"}};
  }
  void Outcome(const TCardOutcome& outcome) override { Outcomes.push_back(outcome); }

  std::vector<CardCode> Codes() const {
    std::vector<CardCode> codes;
    for (const TTypedCard& card : Typed) codes.push_back(card.Code);
    return codes;
  }

  std::optional<CardCode> Refuse;
  TMicros TypingTime{0};
  std::vector<TTypedCard> Typed;
  std::vector<TCardOutcome> Outcomes;

 private:
  TTimedLine& Line_;
};

class ReaderTypeScope {
 public:
  explicit ReaderTypeScope(std::uint8_t type) : Saved_(ReaderTypeNow()) { SetReaderType(type); }
  ~ReaderTypeScope() { SetReaderType(Saved_); }

 private:
  std::uint8_t Saved_;
};

struct TRun {
  TReaderEnd End;
  std::vector<CardCode> Codes;
};

TRun RunLine(TTimedLine& line, TRecordingDesk& desk) {
  const TStopSignal stop;
  TReaderLoop loop(line, stop, desk, desk);
  const TReaderEnd end = loop.Run();
  return {end, desk.Codes()};
}

TRun RunScript(std::vector<TLineEvent> events, std::uint8_t readerType = 1) {
  ReaderTypeScope type(readerType);
  TTimedLine line(std::move(events));
  TRecordingDesk desk(line);
  return RunLine(line, desk);
}

std::vector<TLineEvent> Join(std::initializer_list<std::vector<TLineEvent>> parts) {
  std::vector<TLineEvent> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const TBytes kFrame = {0x00, 0x12, 0x34, 0x56, 0x78};
constexpr CardCode kCode = 305419896;
// Presented well after a case's bytes: typed, it shows the loop alive and realigned.
const TBytes kSentinelFrame = {0x00, 0x00, 0x00, 0x00, 0x09};
constexpr CardCode kSentinel = 9;

TBytes Twice(const TBytes& bytes) {
  TBytes twice = bytes;
  twice.insert(twice.end(), bytes.begin(), bytes.end());
  return twice;
}

// ---- the number ------------------------------------------------------------------------------

struct TDecodeCase {
  const char* Name;
  TBytes Frame;
  std::uint8_t ReaderType;
  CardCode Expected;
};

class ReaderDecodeTest : public testing::TestWithParam<TDecodeCase> {};

TEST_P(ReaderDecodeTest, AFrameAtTheLinesPaceTypesItsNumber) {
  const auto& c = GetParam();
  EXPECT_EQ(RunScript(Wire(0ms, c.Frame), c.ReaderType).Codes, std::vector<CardCode>{c.Expected});
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

TEST(ReaderLoop, ReaderTypeIsTakenWhenTheFrameCompletes) {
  ReaderTypeScope type(0);
  TTimedLine line({Chunk(0ms, {0x00, 0x12, 0x34}),
                   {10ms, {0x56, 0x78}, std::nullopt, false, [] { SetReaderType(1); }}});
  TRecordingDesk desk(line);
  EXPECT_EQ(RunLine(line, desk).Codes, std::vector<CardCode>{kCode});
}

// ---- the line's pace -------------------------------------------------------------------------

struct TStreamCase {
  const char* Name;
  std::vector<TLineEvent> Events;
  std::vector<CardCode> Expected;
};

class ReaderStreamTest : public testing::TestWithParam<TStreamCase> {};

TEST_P(ReaderStreamTest, TypesWhatTheLineMeant) {
  const auto& c = GetParam();
  const TRun run = RunScript(c.Events);
  EXPECT_EQ(run.Codes, c.Expected);
  EXPECT_EQ(run.End, TReaderEnd::Stopped);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, ReaderStreamTest,
    testing::Values(
        TStreamCase{"WholeFrameInOneRead", {Chunk(0ms, kFrame)}, {kCode}},
        TStreamCase{"SplitThreeThenTwoIsJoined",
                    {Chunk(0ms, {0x00, 0x12, 0x34}), Chunk(30ms, {0x56, 0x78})}, {kCode}},
        TStreamCase{"SplitOverOneQuietSpellIsStillJoined",
                    {Chunk(0ms, {0x00, 0x12, 0x34}), Chunk(60ms, {0x56, 0x78})}, {kCode}},
        TStreamCase{"PartialFrameAfterTwoQuietSpellsIsAStray",
                    {Chunk(0ms, {0xAA, 0xBB}), Chunk(200ms, kFrame)}, {kCode}},
        TStreamCase{"StrayKeptWithoutQuietMakesTheNextFrameOverflow",
                    {Chunk(0ms, {0xAA, 0xBB}), Chunk(50ms, kFrame), Chunk(500ms, kSentinelFrame)},
                    {kSentinel}},
        TStreamCase{"ThreeThenThreeOverflows",
                    {Chunk(0ms, {0x00, 0x12, 0x34}), Chunk(20ms, {0x56, 0x78, 0x9A}),
                     Chunk(300ms, kSentinelFrame)},
                    {kSentinel}},
        TStreamCase{"TwoFramesInOneReadAreBothDropped",
                    {Chunk(0ms, Twice(kFrame)), Chunk(300ms, kSentinelFrame)}, {kSentinel}},
        TStreamCase{"FullReadOf512IsDropped",
                    {Chunk(0ms, TBytes(512, 0xAA)), Chunk(300ms, kSentinelFrame)}, {kSentinel}},
        TStreamCase{"RepeatRightBehindIsDropped",
                    {Chunk(0ms, kFrame), Chunk(3ms, kFrame), Chunk(300ms, kSentinelFrame)},
                    {kCode, kSentinel}},
        TStreamCase{"RepeatAtTheLinesPaceIsDropped",
                    Join({Wire(0ms, Twice(kFrame)), Wire(300ms, kSentinelFrame)}),
                    {kCode, kSentinel}},
        TStreamCase{"ThreeCopiesInARowAreOneCard",
                    Join({Wire(0ms, Twice(Twice(kFrame))), Wire(300ms, kSentinelFrame)}),
                    {kCode, kSentinel}},
        TStreamCase{"AFrameAfterTheLineFellQuietIsANewCard",
                    {Chunk(0ms, kFrame), Chunk(20ms, kSentinelFrame)}, {kCode, kSentinel}},
        TStreamCase{"SeparateCardsAreEachTyped",
                    Join({Wire(0ms, kFrame), Wire(300ms, kFrame), Wire(600ms, kFrame)}),
                    {kCode, kCode, kCode}},
        TStreamCase{"GarbageThenQuietRealigns",
                    {Chunk(0ms, {1, 2, 3, 4, 5, 6, 7}), Chunk(10ms, {8, 9}),
                     Chunk(15ms, {10, 11, 12, 13}), Chunk(300ms, kFrame)},
                    {kCode}},
        TStreamCase{"FailedReadsKeepTheFrameInProgress",
                    {Chunk(0ms, {0x00, 0x12}), FailRead(5ms, LineError::OperationAborted),
                     FailRead(6ms, LineError::OperationAborted), Chunk(10ms, {0x34, 0x56, 0x78})},
                    {kCode}}),
    [](const auto& info) { return std::string(info.param.Name); });

// The card goes to the typer the moment its fifth byte is in: nothing waits for the line to
// fall quiet first.
TEST(ReaderLoop, TypesTheCardWhenItsLastByteArrives) {
  TTimedLine line(Wire(100ms, kFrame));
  TRecordingDesk desk(line);
  RunLine(line, desk);
  ASSERT_EQ(desk.Typed.size(), 1u);
  EXPECT_EQ(desk.Typed[0].At, TMicros(100ms) + 4 * kByteTime);
}

// Nothing on the line for a minute between two cards costs the loop one wait without a
// limit: a loop that polled on a timer would wait hundreds of times.
TEST(ReaderLoop, SleepsWithoutALimitWhileNothingComes) {
  ReaderTypeScope type(1);
  TTimedLine line({Chunk(60'000ms, kFrame), Chunk(120'000ms, kSentinelFrame)});
  TRecordingDesk desk(line);
  ASSERT_EQ(RunLine(line, desk).Codes, (std::vector<CardCode>{kCode, kSentinel}));
  const auto limited = std::ranges::count_if(line.Limits, [](const auto& l) { return l.has_value(); });
  EXPECT_EQ(line.Limits.front(), std::nullopt);
  EXPECT_EQ(limited, 2) << "one quiet spell behind each card";
  EXPECT_LE(line.Limits.size(), 8u);
}

// Typed at an input method's pace, a card takes longer than the quiet spell behind it:
// a copy of it sent right behind is still dropped, and the next card, come as soon as the
// number stood in the window, is still typed.
TEST(ReaderLoop, SlowTypingDropsTheCopyAndKeepsTheNextCard) {
  ReaderTypeScope type(1);
  TTimedLine line(Join({Wire(0ms, Twice(kFrame)), Wire(110ms, Twice(kSentinelFrame)),
                        Wire(500ms, kFrame)}));
  TRecordingDesk desk(line);
  desk.TypingTime = 100ms;
  EXPECT_EQ(RunLine(line, desk).Codes, (std::vector<CardCode>{kCode, kSentinel, kCode}));
}

TEST(ReaderLoop, TellsTheSinkWhatBecameOfEachCard) {
  ReaderTypeScope type(1);
  TTimedLine line({Chunk(0ms, kFrame), Chunk(300ms, kSentinelFrame)});
  TRecordingDesk desk(line);
  desk.Refuse = kCode;
  RunLine(line, desk);
  ASSERT_EQ(desk.Outcomes.size(), 2u);
  EXPECT_EQ(desk.Outcomes[0].Card.Code, kCode);
  EXPECT_EQ(desk.Outcomes[0].Card.Reason, TNotTyped::NoCaret);
  EXPECT_EQ(desk.Outcomes[0].Target.ProgramFile, L"app.exe");
  EXPECT_EQ(desk.Outcomes[1].Card.Code, kSentinel);
  EXPECT_EQ(desk.Outcomes[1].Card.Reason, TNotTyped::None);
}

// ---- how it ends -----------------------------------------------------------------------------

struct TEndCase {
  const char* Name;
  std::vector<TLineEvent> Events;
  TReaderEnd End;
  std::vector<CardCode> Expected;  // what came before the end
};

class ReaderEndTest : public testing::TestWithParam<TEndCase> {};

TEST_P(ReaderEndTest, EndsWhenItShould) {
  const auto& c = GetParam();
  const TRun run = RunScript(c.Events);
  EXPECT_EQ(run.End, c.End);
  EXPECT_EQ(run.Codes, c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ends, ReaderEndTest,
    testing::Values(
        TEndCase{"TheSystemSaysTheDeviceIsGone",
                 {Chunk(0ms, kFrame), LoseLine(100ms), Chunk(300ms, kSentinelFrame)},
                 TReaderEnd::Lost, {kCode}},
        TEndCase{"AReadErrorThatMeansGone",
                 {Chunk(0ms, kFrame), FailRead(100ms, LineError::AccessDenied),
                  Chunk(300ms, kSentinelFrame)},
                 TReaderEnd::Lost, {kCode}},
        TEndCase{"OtherReadErrorsThreeInARow",
                 {FailRead(1ms, LineError::OperationAborted),
                  FailRead(2ms, LineError::OperationAborted),
                  FailRead(3ms, LineError::OperationAborted), Chunk(300ms, kSentinelFrame)},
                 TReaderEnd::Lost, {}},
        TEndCase{"AReadBetweenFailuresKeepsTheLine",
                 {FailRead(1ms, LineError::OperationAborted),
                  FailRead(2ms, LineError::OperationAborted), Chunk(3ms, {0x00}),
                  FailRead(4ms, LineError::OperationAborted), Chunk(300ms, kSentinelFrame)},
                 TReaderEnd::Stopped, {kSentinel}},
        TEndCase{"TheStopEndsItWithAFrameInProgress", {Chunk(0ms, {0x00, 0x12})},
                 TReaderEnd::Stopped, {}}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- the digits --------------------------------------------------------------------------------

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
