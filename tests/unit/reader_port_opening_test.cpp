// The configured port's open on a worker, in the cases its threads cannot show on cue: an
// answer that is delivered while a later open begins, one that is delivered just before its
// deadline, and the end of the program. The rest is shown with real threads at the Windows
// floor.
#include <gtest/gtest.h>

#include "reader/port_opening.h"

namespace {

constexpr std::uint64_t kDeadline = 1000;

TEST(PortOpening, AnAnswerDeliveredButNotTakenIsReplacedByALaterOpen) {
  TPortOpening opening(kDeadline);
  const std::uint32_t first = opening.Begin(100);
  ASSERT_TRUE(opening.Deliver(first));
  const std::uint32_t second = opening.Begin(200);
  EXPECT_FALSE(opening.Take(first)) << "the message of the replaced open was taken";
  EXPECT_TRUE(opening.Deliver(second));
}

TEST(PortOpening, AnAnswerDeliveredInTimeIsNotGivenUpBeforeItIsTaken) {
  TPortOpening opening(kDeadline);
  const std::uint32_t number = opening.Begin(100);
  ASSERT_TRUE(opening.Deliver(number));
  EXPECT_FALSE(opening.Expired(100 + 5 * kDeadline));
  EXPECT_TRUE(opening.Take(number));
}

TEST(PortOpening, AbandonedNothingIsDeliveredAnyMore) {
  TPortOpening opening(kDeadline);
  const std::uint32_t number = opening.Begin(100);
  opening.Abandon();
  EXPECT_FALSE(opening.UnderWay());
  EXPECT_FALSE(opening.Deliver(number));
  EXPECT_FALSE(opening.Expired(100 + kDeadline));
}

}  // namespace
