// The one handle owner: every handle let go exactly once, on every path, whatever the
// policy takes for "no handle".
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/unique.h"

namespace {

// A policy that notes what it was asked to let go, and refuses handle 13.
struct TCountingPolicy {
  using Handle = int;
  std::vector<int>* Closed = nullptr;
  static bool Valid(int handle) { return handle != 0; }
  bool Close(int handle) const {
    Closed->push_back(handle);
    return handle != 13;
  }
};
using TCounted = TUnique<TCountingPolicy>;

TEST(UniqueHandle, LetsGoOnceWhateverPathTheOwnerTakes) {
  std::vector<int> closed;
  {
    TCounted first(1, {&closed});
    TCounted moved(std::move(first));
    TCounted assigned(2, {&closed});
    assigned = std::move(moved);  // 2 goes, 1 moves on
    EXPECT_FALSE(first.Valid());
    EXPECT_EQ(assigned.Get(), 1);
  }
  EXPECT_EQ(closed, (std::vector<int>{2, 1}));
}

TEST(UniqueHandle, ReleaseGivesUpWithoutLettingGo) {
  std::vector<int> closed;
  {
    TCounted owner(5, {&closed});
    EXPECT_EQ(owner.Release(), 5);
    EXPECT_FALSE(owner);
  }
  EXPECT_TRUE(closed.empty());
}

TEST(UniqueHandle, ResetSaysWhenThePlatformRefused) {
  std::vector<int> closed;
  TCounted owner(13, {&closed});
  EXPECT_FALSE(owner.Reset(7));
  EXPECT_EQ(owner.Get(), 7);
  EXPECT_TRUE(owner.Reset());
  EXPECT_TRUE(owner.Reset());  // nothing held: nothing to refuse
  EXPECT_EQ(closed, (std::vector<int>{13, 7}));
}

// A descriptor-like policy: 0 is a handle like any other, -1 is none.
struct TMinusOnePolicy {
  using Handle = int;
  static constexpr int kEmpty = -1;
  std::vector<int>* Closed = nullptr;
  static bool Valid(int handle) { return handle >= 0; }
  bool Close(int handle) const {
    Closed->push_back(handle);
    return true;
  }
};

TEST(UniqueHandle, APolicysOwnEmptyValueIsNoneAndZeroIsAHandle) {
  std::vector<int> closed;
  {
    TUnique<TMinusOnePolicy> none(TMinusOnePolicy::kEmpty, {&closed});
    EXPECT_FALSE(none.Valid());
    TUnique<TMinusOnePolicy> zero(0, {&closed});
    EXPECT_TRUE(zero.Valid());
    TUnique<TMinusOnePolicy> taken(std::move(zero));
    EXPECT_EQ(zero.Get(), -1) << "a moved-from owner holds none";
    EXPECT_EQ(TUnique<TMinusOnePolicy>().Get(), -1);
    EXPECT_EQ(taken.Release(), 0);
    EXPECT_EQ(taken.Get(), -1);
    taken.Reset(0);
  }
  EXPECT_EQ(closed, std::vector<int>{0});
}

}  // namespace
