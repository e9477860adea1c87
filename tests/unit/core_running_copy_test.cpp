// What the single-copy section tells a second start of the copy that holds it.
#include <gtest/gtest.h>

#include "core/running_copy.h"

namespace {

TEST(RunningCopy, TheRecordTellsOfTheProcessAndItsWindow) {
  const TRunningCopy copy{4242, 0x0001'0203'0405'0607};
  EXPECT_EQ(DecodeRunningCopy(EncodeRunningCopy(copy)), copy);
  const TRunningCopy narrow{7, 0x000A'0066};
  EXPECT_EQ(DecodeRunningCopy(EncodeRunningCopy(narrow)), narrow);
}

TEST(RunningCopy, TellsOfNoneWhereThereIsNoWindowToBringUp) {
  EXPECT_EQ(DecodeRunningCopy(TRunningCopyRecord{}), std::nullopt) << "an older copy's zeros";
  EXPECT_EQ(DecodeRunningCopy(EncodeRunningCopy({4242, 0})), std::nullopt) << "no window yet";
  EXPECT_EQ(DecodeRunningCopy(EncodeRunningCopy({0, 0x10066})), std::nullopt) << "no process";
  TRunningCopyRecord foreign = EncodeRunningCopy({4242, 0x10066});
  foreign[0] ^= 0xFF;
  EXPECT_EQ(DecodeRunningCopy(foreign), std::nullopt) << "bytes without the mark";
}

}  // namespace
