// The one handle owner: every handle let go exactly once, on every path.
#include <gtest/gtest.h>
#include <windows.h>

#include <utility>
#include <vector>

#include "core/unique_handle_win.h"

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

TEST(UniqueHandle, KernelHandlesTreatBothEmptyValuesAsNone) {
  TUniqueHandle invalid(INVALID_HANDLE_VALUE);
  EXPECT_FALSE(invalid.Valid());
  EXPECT_TRUE(invalid.Reset());
  TUniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(event.Valid());
  const HANDLE raw = event.Get();
  EXPECT_TRUE(event.Reset());
  DWORD flags = 0;
  EXPECT_FALSE(GetHandleInformation(raw, &flags)) << "the event was not closed";
}

TEST(UniqueHandle, AWindowAlreadyGoneIsNotAFailure) {
  TUniqueWindow window(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                       nullptr, nullptr, nullptr));
  ASSERT_TRUE(window.Valid());
  DestroyWindow(window.Get());
  EXPECT_TRUE(window.Reset());
}

}  // namespace
