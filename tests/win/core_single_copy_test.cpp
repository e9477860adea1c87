#include <gtest/gtest.h>
#include <windows.h>

#include "core/single_copy_win.h"
#include "core/unique_handle_win.h"

TEST(SingleCopy, TheFirstClaimWinsAndLaterOnesAreRefused) {
  EXPECT_TRUE(IsFirstInstance());
  EXPECT_FALSE(IsFirstInstance());
  EXPECT_FALSE(IsFirstInstance());
  // The refused claims closed their handles; the section is still there, held by the first.
  const TUniqueHandle probe(
      OpenFileMappingW(FILE_MAP_READ, FALSE, L"QVM_TESSARIN_CTRL_READER_DRIVER"));
  EXPECT_TRUE(probe.Valid());
}
