// The configured port's open on a worker: which answer is taken, which is let go by the
// worker, and when an open is given up.
#include <gtest/gtest.h>

#include "reader/port_opening.h"

namespace {

constexpr std::uint64_t kDeadline = 1000;

TEST(PortOpening, TheWantedAnswerIsDeliveredAndTakenOnce) {
  TPortOpening opening(kDeadline);
  EXPECT_FALSE(opening.UnderWay());
  const std::uint32_t number = opening.Begin(100);
  EXPECT_TRUE(opening.UnderWay());
  EXPECT_FALSE(opening.Take(number)) << "taken before the worker delivered it";
  EXPECT_TRUE(opening.Deliver(number));
  EXPECT_FALSE(opening.Deliver(number)) << "one open delivers once";
  EXPECT_TRUE(opening.Take(number));
  EXPECT_FALSE(opening.UnderWay());
  EXPECT_FALSE(opening.Take(number)) << "an answer is taken once";
}

TEST(PortOpening, ALaterOpenMakesTheEarlierAnswerTheWorkersToLetGo) {
  TPortOpening opening(kDeadline);
  const std::uint32_t first = opening.Begin(100);
  const std::uint32_t second = opening.Begin(200);
  EXPECT_NE(first, second);
  EXPECT_FALSE(opening.Deliver(first));
  EXPECT_TRUE(opening.Deliver(second));
  EXPECT_FALSE(opening.Take(first));
  EXPECT_TRUE(opening.Take(second));
}

TEST(PortOpening, AnAnswerDeliveredButNotTakenIsReplacedByALaterOpen) {
  TPortOpening opening(kDeadline);
  const std::uint32_t first = opening.Begin(100);
  ASSERT_TRUE(opening.Deliver(first));
  const std::uint32_t second = opening.Begin(200);
  EXPECT_FALSE(opening.Take(first)) << "the message of the replaced open was taken";
  EXPECT_TRUE(opening.Deliver(second));
}

TEST(PortOpening, TheDeadlineGivesUpAnOpenOnceAndItsLateAnswerIsLetGo) {
  TPortOpening opening(kDeadline);
  const std::uint32_t number = opening.Begin(100);
  EXPECT_FALSE(opening.Expired(100 + kDeadline - 1));
  EXPECT_TRUE(opening.Expired(100 + kDeadline));
  EXPECT_FALSE(opening.Expired(100 + 2 * kDeadline)) << "given up twice";
  EXPECT_FALSE(opening.UnderWay());
  EXPECT_FALSE(opening.Deliver(number));
  EXPECT_FALSE(opening.Take(number));
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
