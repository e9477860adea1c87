// One round of port probes against its deadline: which ports are probed, when the waiting
// ends, and what a late or missing answer means for the list.
#include <gtest/gtest.h>

#include <vector>

#include "ui/setup/port_probe.h"
#include "ui/setup/setup_form.h"

namespace {

constexpr std::uint64_t kStart = 1'000'000;
constexpr std::uint64_t kDeadline = TProbeRound::kDeadlineMs;

TEST(PortsToProbe, EveryListedPortButTheHeldOne) {
  const std::vector<int> ports = PortsToProbe(2);
  ASSERT_EQ(ports.size(), 99u);
  EXPECT_EQ(ports.front(), 1);
  EXPECT_EQ(ports[1], 3);
  EXPECT_EQ(ports.back(), 100);
  EXPECT_EQ(PortsToProbe(0).size(), 100u) << "no port held";
  EXPECT_EQ(PortsToProbe(255).size(), 100u) << "a held port outside the list";
}

TEST(ProbeRound, WaitsUntilTheDeadlineForAnAnswerStillMissing) {
  TProbeRound round({1, 3, 5}, kStart);
  EXPECT_EQ(round.WaitMs(kStart), kDeadline);
  round.Answer(0, true);
  round.Answer(2, false);
  EXPECT_FALSE(round.AllAnswered());
  EXPECT_EQ(round.WaitMs(kStart + 100), kDeadline - 100);
  EXPECT_EQ(round.WaitMs(kStart + kDeadline), 0u);
  EXPECT_EQ(round.WaitMs(kStart + kDeadline + 5000), 0u);
}

TEST(ProbeRound, EndsAsSoonAsEveryPortAnswered) {
  TProbeRound round({1, 3}, kStart);
  round.Answer(1, false);
  round.Answer(0, true);
  EXPECT_TRUE(round.AllAnswered());
  EXPECT_EQ(round.WaitMs(kStart + 1), 0u);
  EXPECT_TRUE(round.Opens(1));
  EXPECT_FALSE(round.Opens(3));
}

TEST(ProbeRound, APortThatMissedTheDeadlineIsBusyOrAbsentEvenIfItOpensLater) {
  TProbeRound round({4, 7, 9}, kStart);
  round.Answer(0, true);
  round.Close();
  EXPECT_EQ(round.WaitMs(kStart), 0u) << "a closed round waits no more";
  EXPECT_EQ(round.Unanswered(), (std::vector<std::size_t>{1, 2}));
  round.Answer(1, true);
  EXPECT_FALSE(round.Opens(7)) << "the list was shown already";
  EXPECT_TRUE(round.Opens(4));
  EXPECT_EQ(round.Unanswered(), (std::vector<std::size_t>{1, 2}));
}

TEST(ProbeRound, OnlyTheFirstAnswerOfAPortCountsAndStrangersNone) {
  TProbeRound round({1, 2}, kStart);
  round.Answer(0, false);
  round.Answer(0, true);
  round.Answer(7, true);
  EXPECT_FALSE(round.Opens(1));
  EXPECT_FALSE(round.AllAnswered()) << "a repeated or foreign answer is not port 2's";
  EXPECT_FALSE(round.Opens(42)) << "a port not in the round";
}

}  // namespace
