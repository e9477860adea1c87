// The Windows policies of the one handle owner against the real platform.
#include <gtest/gtest.h>
#include <windows.h>

#include "core/unique_handle_win.h"

namespace {

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
