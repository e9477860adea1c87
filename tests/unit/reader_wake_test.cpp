// A wake from sleep: noticing it once, from the system's notices or from a gap between two
// ticks of the line timer, and what the line watch does with it in each of its states.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "reader/line_watch.h"
#include "reader/sleep_watch.h"

namespace {

// ---- noticing the wake ----------------------------------------------------------------------

enum class Sign { Tick, Resume };

struct TSign {
  Sign Kind;
  std::uint64_t AtMs;
  bool Acts;
  // Of a tick's gap, the time the GUI thread spent at work rather than waiting for messages.
  std::uint64_t BusyMs = 0;
};

struct TWakeCase {
  const char* Name;
  std::vector<TSign> Signs;
};

class SleepWatchTest : public testing::TestWithParam<TWakeCase> {};

TEST_P(SleepWatchTest, ActsOnceForEachWake) {
  TSleepWatch watch;
  int step = 0;
  std::uint64_t lastTick = 0;
  for (const TSign& sign : GetParam().Signs) {
    ++step;
    bool acts = false;
    if (sign.Kind == Sign::Tick) {
      acts = watch.Tick(sign.AtMs, sign.AtMs - lastTick - sign.BusyMs);
      lastTick = sign.AtMs;
    } else {
      acts = watch.Resumed(sign.AtMs);
    }
    EXPECT_EQ(acts, sign.Acts) << "step " << step << " at " << sign.AtMs << " ms";
  }
}

constexpr std::uint64_t kGap = TSleepWatch::kSleepGapMs;
constexpr std::uint64_t kSame = TSleepWatch::kSameWakeMs;

INSTANTIATE_TEST_SUITE_P(
    Rows, SleepWatchTest,
    testing::Values(
        TWakeCase{"TheFirstTickHasNothingToCompare", {{Sign::Tick, 5 * kGap, false}}},
        TWakeCase{"AGapJustShortOfTheLimitIsABusyMoment",
                  {{Sign::Tick, 1000, false}, {Sign::Tick, 1000 + kGap - 1, false}}},
        TWakeCase{"AGapOfTheLimitIsASleepWithoutNotice",
                  {{Sign::Tick, 1000, false}, {Sign::Tick, 1000 + kGap, true},
                   {Sign::Tick, 1500 + kGap, false}}},
        TWakeCase{"AGapTheGuiThreadSpentAtWorkIsNoWake",
                  {{Sign::Tick, 1000, false}, {Sign::Tick, 1000 + 3 * kGap, false, 3 * kGap - 500},
                   {Sign::Tick, 1500 + 3 * kGap, false}}},
        TWakeCase{"AGapPartlyAtWorkIsAWakeWhenTheWaitAloneReachesTheLimit",
                  {{Sign::Tick, 1000, false}, {Sign::Tick, 1000 + kGap + 3000, true, 3000}}},
        TWakeCase{"AWaitJustShortOfTheLimitInALongGapIsNoWake",
                  {{Sign::Tick, 1000, false}, {Sign::Tick, 1000 + kGap + 3000, false, 3001}}},
        TWakeCase{"NoticesAndTheGapOfOneWakeActOnce",
                  {{Sign::Tick, 1000, false}, {Sign::Resume, 60'000, true},
                   {Sign::Resume, 60'200, false}, {Sign::Tick, 60'300, false}}},
        TWakeCase{"AGapFirstThenTheLateNotice",
                  {{Sign::Tick, 1000, false}, {Sign::Tick, 60'000, true},
                   {Sign::Resume, 60'000 + kSame - 1, false}}},
        TWakeCase{"ASecondWakeLaterActsAgain",
                  {{Sign::Resume, 60'000, true}, {Sign::Resume, 60'000 + kSame, true}}}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- the line after a wake ------------------------------------------------------------------

struct TResumeCase {
  const char* Name;
  bool OpenAtStart;
  bool LostFirst;  // the device was removed before the wake
  bool SetupOpen;
  TLineAction Expected;
  TLineState End;
};

class LineWakeTest : public testing::TestWithParam<TResumeCase> {};

TEST_P(LineWakeTest, OpensTheLineAnewUnlessTheSetupIsOpen) {
  const TResumeCase& c = GetParam();
  TLineWatch watch(c.OpenAtStart);
  if (c.LostFirst) ASSERT_EQ(watch.DeviceRemoved(), TLineAction::DropLine);
  EXPECT_EQ(watch.Resumed(c.SetupOpen), c.Expected);
  EXPECT_EQ(watch.State(), c.End);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LineWakeTest,
    testing::Values(
        TResumeCase{"AnOpenLineIsOpenedAnewForItMayReadNothing", true, false, false,
                    TLineAction::Reopen, TLineState::Reopening},
        TResumeCase{"ALostLineIsTriedAtOnce", true, true, false, TLineAction::Reopen,
                    TLineState::Reopening},
        TResumeCase{"ALineThatNeverOpenedIsTriedAtOnce", false, false, false, TLineAction::Reopen,
                    TLineState::Reopening},
        TResumeCase{"UnderTheSetupAnOpenLineIsLetGoForTheRetryAfterIt", true, false, true,
                    TLineAction::DropLine, TLineState::Lost},
        TResumeCase{"UnderTheSetupALostLineWaits", false, false, true, TLineAction::None,
                    TLineState::Lost}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(LineWake, AReopenUnderWayIsNotStartedTwice) {
  TLineWatch watch(true);
  ASSERT_EQ(watch.Resumed(false), TLineAction::Reopen);
  EXPECT_EQ(watch.Resumed(false), TLineAction::None);
  EXPECT_EQ(watch.Tick(false), TLineAction::None);
  watch.Reopened(true);
  EXPECT_EQ(watch.Tick(false), TLineAction::Probe) << "the reopened line is watched again";
}

}  // namespace
