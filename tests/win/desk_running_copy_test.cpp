// The single-copy section as a second start reads it: the first copy's process and main
// window, and nothing from a section an older copy holds.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <optional>

#include "core/running_copy.h"
#include "core/single_copy_win.h"
#include "core/unique_handle_win.h"

namespace {

constexpr wchar_t kSectionName[] = L"QVM_TESSARIN_CTRL_READER_DRIVER";

std::optional<TRunningCopy> ReadSection() {
  const TUniqueHandle section(OpenFileMappingW(FILE_MAP_READ, FALSE, kSectionName));
  if (!section.Valid()) return std::nullopt;
  const void* view = MapViewOfFile(section.Get(), FILE_MAP_READ, 0, 0, kRunningCopyRecordSize);
  if (view == nullptr) return std::nullopt;
  TRunningCopyRecord record{};
  std::memcpy(record.data(), view, record.size());
  UnmapViewOfFile(view);
  return DecodeRunningCopy(record);
}

TEST(RunningCopySection, NamesTheFirstCopyOnceItsWindowIsThere) {
  ASSERT_TRUE(IsFirstInstance());
  EXPECT_EQ(ReadSection(), std::nullopt) << "no window yet";
  const TUniqueWindow window(CreateWindowW(L"STATIC", L"main", WS_POPUP, 0, 0, 10, 10, nullptr,
                                           nullptr, nullptr, nullptr));
  ASSERT_TRUE(window.Valid());
  PublishMainWindow(window.Get());
  const auto copy = ReadSection();
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->ProcessId, GetCurrentProcessId());
  EXPECT_EQ(copy->Window, reinterpret_cast<std::uintptr_t>(window.Get()));
  EXPECT_FALSE(BringRunningCopyForward()) << "a copy does not bring itself forward";
  EXPECT_FALSE(IsFirstInstance()) << "a later claim is still refused";
}

// Run in a process of its own: the section is made as a copy of an older version makes it.
TEST(OlderCopySection, IsStillSeenAndTellsOfNoWindow) {
  const TUniqueHandle older(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READONLY, 0,
                                               32, kSectionName));
  ASSERT_TRUE(older.Valid());
  EXPECT_FALSE(IsFirstInstance()) << "an older copy's section refuses this one";
  EXPECT_FALSE(BringRunningCopyForward());
}

}  // namespace
