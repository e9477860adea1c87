// The line watch's decisions: what a failed open or read says about the device, which
// device notices concern the port, when setup reopens, and the state machine of an open,
// lost and reopening line driven by timer ticks and notices.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "reader/line_watch.h"

namespace {

// --- a fresh open of a port this program holds ----------------------------------------------

struct TOpenCase {
  const char* Name;
  bool Opened;
  std::uint32_t Error;
  TPresence Expected;
};

class PresenceAfterOpenTest : public testing::TestWithParam<TOpenCase> {};

TEST_P(PresenceAfterOpenTest, Decides) {
  EXPECT_EQ(PresenceAfterOpen(GetParam().Opened, GetParam().Error), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PresenceAfterOpenTest,
    testing::Values(
        TOpenCase{"WindowsRefusesAHeldPort", false, LineError::AccessDenied, TPresence::Present},
        TOpenCase{"SharingRefusalIsPresentToo", false, LineError::SharingViolation,
                  TPresence::Present},
        TOpenCase{"WineLetsASecondOpenThrough", true, LineError::None, TPresence::Present},
        TOpenCase{"NameLeadsNowhere", false, LineError::FileNotFound, TPresence::Gone},
        TOpenCase{"PathLeadsNowhere", false, LineError::PathNotFound, TPresence::Gone},
        TOpenCase{"DeviceNotConnected", false, LineError::DeviceNotConnected, TPresence::Gone},
        TOpenCase{"UnknownRefusalKeepsTheLine", false, LineError::GenFailure, TPresence::Present}),
    [](const auto& info) { return std::string(info.param.Name); });

// --- failed reads ------------------------------------------------------------------------------

struct TReadCase {
  const char* Name;
  std::vector<long long> Reads;
  int LostAfterRead;  // 0: never lost
};

class WatchedPortTest : public testing::TestWithParam<TReadCase> {};

TEST_P(WatchedPortTest, LosesTheLineAtTheRightRead) {
  TReadWatch watch;
  int lostAt = 0;
  int read = 0;
  for (const long long each : GetParam().Reads) {
    ++read;
    if (each < 0)
      watch.Succeeded();
    else
      watch.Failed(static_cast<std::uint32_t>(each));
    if (watch.Lost() && lostAt == 0) lostAt = read;
  }
  EXPECT_EQ(lostAt, GetParam().LostAfterRead);
}

constexpr long long kOk = -1;
constexpr long long kAborted = LineError::OperationAborted;

INSTANTIATE_TEST_SUITE_P(
    Rows, WatchedPortTest,
    testing::Values(
        TReadCase{"QuietReadsNeverLose", {kOk, kOk, kOk, kOk}, 0},
        TReadCase{"RemovedAdapterAccessDeniedAtOnce", {kOk, LineError::AccessDenied}, 2},
        TReadCase{"BadCommandAtOnce", {LineError::BadCommand}, 1},
        TReadCase{"DeviceNotConnectedAtOnce", {kOk, kOk, LineError::DeviceNotConnected}, 3},
        TReadCase{"OtherErrorsThreeInARow", {kAborted, kAborted, kAborted}, 3},
        TReadCase{"ErrorWithoutNumberThreeInARow", {0, 0, 0, 0}, 3},
        TReadCase{"ASuccessBreaksTheRow", {kAborted, kAborted, kOk, kAborted, kAborted}, 0},
        TReadCase{"LaterGoneErrorAfterPassingOnes", {kAborted, LineError::GenFailure}, 2}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(WatchedPort, SaysTheLineIsLostOnlyOnce) {
  TReadWatch watch;
  EXPECT_TRUE(watch.Failed(LineError::NotReady));
  EXPECT_FALSE(watch.Failed(LineError::NotReady));
  watch.Succeeded();
  EXPECT_FALSE(watch.Failed(LineError::NotReady));
  EXPECT_TRUE(watch.Lost());
}

// --- device notices and setup -----------------------------------------------------------------

struct TNameCase {
  const char* Name;
  const wchar_t* Device;
  int Port;
  bool Names;
};

class NoticeNamesPortTest : public testing::TestWithParam<TNameCase> {};

TEST_P(NoticeNamesPortTest, Decides) {
  EXPECT_EQ(NoticeNamesPort(GetParam().Device, GetParam().Port), GetParam().Names);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NoticeNamesPortTest,
    testing::Values(TNameCase{"Same", L"COM2", 2, true},
                    TNameCase{"AnyCase", L"com2", 2, true},
                    TNameCase{"DevicePrefix", L"\\\\.\\COM12", 12, true},
                    TNameCase{"OtherPort", L"COM3", 2, false},
                    TNameCase{"LongerNumber", L"COM21", 2, false},
                    TNameCase{"ShorterNumber", L"COM1", 12, false},
                    TNameCase{"OtherDevice", L"LPT2", 2, false},
                    TNameCase{"Empty", L"", 0, false}),
    [](const auto& info) { return std::string(info.param.Name); });

// --- the state machine -------------------------------------------------------------------------

// One step fed to the watch, and what it must answer.
enum class E { Tick, TickInSetup, Present, Gone, ReaderEnded, OldReaderEnded, Removed, Arrived,
               ArrivedInSetup, Opened, Failed };

struct TStep {
  E Event;
  TLineAction Expected;
};

struct TMachineCase {
  const char* Name;
  bool OpenAtStart;
  std::vector<TStep> Steps;
  TLineState End;
  bool ProbeEachTick = true;
};

constexpr std::uint32_t kRunning = 7;

TLineAction Feed(TLineWatch& watch, E event) {
  switch (event) {
    case E::Tick: return watch.Tick(false);
    case E::TickInSetup: return watch.Tick(true);
    case E::Present: return watch.Presence(TPresence::Present);
    case E::Gone: return watch.Presence(TPresence::Gone);
    case E::ReaderEnded: return watch.ReaderEnded(kRunning, kRunning);
    case E::OldReaderEnded: return watch.ReaderEnded(kRunning - 1, kRunning);
    case E::Removed: return watch.DeviceRemoved();
    case E::Arrived: return watch.DeviceArrived(false);
    case E::ArrivedInSetup: return watch.DeviceArrived(true);
    case E::Opened: watch.Reopened(true); return TLineAction::None;
    case E::Failed: watch.Reopened(false); return TLineAction::None;
  }
  return TLineAction::None;
}

class LineWatchTest : public testing::TestWithParam<TMachineCase> {};

TEST_P(LineWatchTest, AnswersEachStep) {
  TLineWatch watch(GetParam().OpenAtStart, GetParam().ProbeEachTick);
  int step = 0;
  for (const TStep& s : GetParam().Steps) {
    ++step;
    EXPECT_EQ(Feed(watch, s.Event), s.Expected) << "step " << step;
  }
  EXPECT_EQ(watch.State(), GetParam().End);
}

using A = TLineAction;
using S = TLineState;
constexpr TStep kQuietTick{E::Tick, A::None};

INSTANTIATE_TEST_SUITE_P(
    Rows, LineWatchTest,
    testing::Values(
        TMachineCase{"OpenLineIsCheckedEveryTick",
                     true,
                     {{E::Tick, A::Probe}, {E::Present, A::None}, {E::Tick, A::Probe},
                      {E::Present, A::None}},
                     S::Open},
        TMachineCase{"GoneDropsTheLineAndRetriesEveryFourTicks",
                     true,
                     {{E::Tick, A::Probe}, {E::Gone, A::DropLine}, kQuietTick, kQuietTick,
                      kQuietTick, {E::Tick, A::Reopen}, {E::Failed, A::None}, kQuietTick,
                      kQuietTick, kQuietTick, {E::Tick, A::Reopen}},
                     S::Reopening},
        TMachineCase{"ReopenedLineIsCheckedAgain",
                     true,
                     {{E::Removed, A::DropLine}, kQuietTick, kQuietTick, kQuietTick,
                      {E::Tick, A::Reopen}, {E::Opened, A::None}, {E::Tick, A::Probe}},
                     S::Open},
        TMachineCase{"FailedAtStartRetriesFromTheStart",
                     false,
                     {kQuietTick, kQuietTick, kQuietTick, {E::Tick, A::Reopen},
                      {E::Opened, A::None}},
                     S::Open},
        TMachineCase{"ReaderEndDropsTheLineOnce",
                     true,
                     {{E::ReaderEnded, A::DropLine}, {E::ReaderEnded, A::None},
                      {E::Gone, A::None}, {E::Removed, A::None}},
                     S::Lost},
        TMachineCase{"NoticeOfAReplacedReaderIsIgnored",
                     true,
                     {{E::OldReaderEnded, A::None}, {E::Tick, A::Probe}},
                     S::Open},
        TMachineCase{"ArrivalReopensALostLineAtOnce",
                     true,
                     {{E::Removed, A::DropLine}, kQuietTick, {E::Arrived, A::Reopen},
                      {E::Tick, A::None}, {E::Arrived, A::None}, {E::Opened, A::None}},
                     S::Open},
        TMachineCase{"ArrivalOnAnOpenLineLooksNow",
                     true,
                     {{E::Arrived, A::Probe}, {E::Gone, A::DropLine}},
                     S::Lost},
        TMachineCase{"NoReopenWhileSetupIsOpenAndAFullIntervalAfter",
                     false,
                     {kQuietTick, kQuietTick, kQuietTick, {E::TickInSetup, A::None},
                      {E::TickInSetup, A::None}, {E::ArrivedInSetup, A::None}, kQuietTick,
                      kQuietTick, kQuietTick, {E::Tick, A::Reopen}},
                     S::Reopening},
        TMachineCase{"SetupReopenedTheLostLine",
                     true,
                     {{E::Removed, A::DropLine}, {E::TickInSetup, A::None}, {E::Opened, A::None},
                      {E::TickInSetup, A::Probe}},
                     S::Open},
        TMachineCase{"AReaderThatSeesTheLossLeavesTheTicksToTheRetries",
                     true,
                     {kQuietTick, kQuietTick, {E::ReaderEnded, A::DropLine}, kQuietTick,
                      kQuietTick, kQuietTick, {E::Tick, A::Reopen}, {E::Opened, A::None},
                      kQuietTick},
                     S::Open,
                     false},
        TMachineCase{"SetupMovedToAPortThatFailed",
                     true,
                     {{E::Failed, A::None}, kQuietTick, kQuietTick, kQuietTick,
                      {E::Tick, A::Reopen}},
                     S::Reopening}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
