// TUart against a pseudo-terminal: COMn is one end, COM(n+200) the far end.
#include <gtest/gtest.h>

#include <windows.h>

#include <numeric>
#include <vector>

#include "core/unique_handle_win.h"
#include "reader/dev_th_win.h"
#include "reader/port_state.h"
#include "reader/uart_win.h"

namespace {

using TBuffer = std::array<std::uint8_t, kPortReadSize>;

// Everything that arrives until the line has been quiet for quietMs.
std::vector<std::uint8_t> Drain(TUart& port, DWORD quietMs = 300) {
  std::vector<std::uint8_t> all;
  TBuffer buffer;
  DWORD lastData = GetTickCount();
  while (GetTickCount() - lastData < quietMs) {
    std::uint32_t count = 0;
    if (!port.Receive(buffer, count)) break;
    if (count > 0) {
      all.insert(all.end(), buffer.begin(), buffer.begin() + count);
      lastData = GetTickCount();
    }
    Sleep(10);
  }
  return all;
}

std::vector<std::uint8_t> Pattern(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  std::iota(bytes.begin(), bytes.end(), std::uint8_t{1});
  return bytes;
}

TEST(UartPty, OpensWithStatusZero) {
  TUart port(2);
  EXPECT_FALSE(port.Closed);
  EXPECT_EQ(port.Status, TUart::kOk);
  EXPECT_EQ(port.PortName, L"\\\\.\\COM2");
}

TEST(UartPty, EmptyReadReturnsAtOnceWithZero) {
  TUart port(2);
  ASSERT_FALSE(port.Closed);
  TBuffer buffer;
  std::uint32_t count = 99;
  const DWORD before = GetTickCount();
  EXPECT_TRUE(port.Receive(buffer, count));
  // A read that waited for data would sit here until the test's timeout.
  EXPECT_LT(GetTickCount() - before, 1000u);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(port.Status, TUart::kOk);
}

TEST(UartPty, BytesFromTheFarEndAreReceived) {
  TUart port(2);
  TUart farEnd(202);
  ASSERT_FALSE(port.Closed);
  ASSERT_FALSE(farEnd.Closed);
  const std::vector<std::uint8_t> frame = {0x00, 0x12, 0x34, 0x56, 0x78};
  ASSERT_TRUE(farEnd.Send(frame));
  EXPECT_EQ(Drain(port), frame);
}

TEST(UartPty, SendOf513BytesFailsAndWritesNothing) {
  TUart port(2);
  TUart farEnd(202);
  ASSERT_FALSE(port.Closed);
  EXPECT_FALSE(port.Send(Pattern(513)));
  EXPECT_EQ(port.Status, TUart::kWriteFailed);
  EXPECT_EQ(port.TxDone(), 0u);
  EXPECT_TRUE(Drain(farEnd).empty());
}

TEST(UartPty, SendOf512BytesArrivesWhole) {
  TUart port(2);
  TUart farEnd(202);
  ASSERT_FALSE(port.Closed);
  const auto bytes = Pattern(512);
  EXPECT_TRUE(port.Send(bytes));
  EXPECT_EQ(port.Status, TUart::kOk);
  EXPECT_EQ(port.TxDone(), 512u);
  EXPECT_EQ(Drain(farEnd), bytes);
}

TEST(UartPty, PurgeDropsWhatWasBuffered) {
  TUart port(2);
  TUart farEnd(202);
  ASSERT_TRUE(farEnd.Send(Pattern(20)));
  Sleep(200);
  PurgePort(&port);
  TBuffer buffer;
  std::uint32_t count = 99;
  EXPECT_TRUE(port.Receive(buffer, count));
  EXPECT_EQ(count, 0u);
}

TEST(UartPty, ClosedPortFailsReadsAndLeavesCountAlone) {
  TUart port(2);
  ASSERT_TRUE(port.Close());
  EXPECT_TRUE(port.Closed);
  TBuffer buffer;
  std::uint32_t count = 7;
  EXPECT_FALSE(port.Receive(buffer, count));
  EXPECT_EQ(count, 7u);
  EXPECT_EQ(port.Status, TUart::kReadFailed);
  PurgePort(&port);  // harmless on a closed port
  EXPECT_FALSE(port.Send(Pattern(5)));
}

TEST(UartPty, ReopenAfterCloseWorks) {
  TUart port(2);
  ASSERT_TRUE(port.Close());
  EXPECT_TRUE(port.Open());
  EXPECT_FALSE(port.Closed);
}

TEST(UartPty, PortAboveNineOpens) {
  TUart port(12);
  EXPECT_FALSE(port.Closed);
  EXPECT_EQ(port.Status, TUart::kOk);
}

TEST(UartNoDevice, DanglingLinkFailsToOpen) {
  TUart port(3);
  EXPECT_TRUE(port.Closed);
  EXPECT_EQ(port.Status, TUart::kOpenFailed);
}

TEST(UartNoDevice, MissingPortFailsToOpen) {
  TUart port(4);
  EXPECT_TRUE(port.Closed);
  EXPECT_EQ(port.Status, TUart::kOpenFailed);
}

TEST(UartNoDevice, PortZeroLeavesAClosedObject) {
  Settings.PortNumber = 0;
  const PortState state = OpenConfiguredPort();
  ASSERT_TRUE(Uart);
  EXPECT_EQ(state, PortClosed);
  EXPECT_EQ(Uart->Status, TUart::kOpenFailed);
  EXPECT_STREQ(PortStateText(state), L"Порт не открыт");
  Uart.reset();
}

TEST(UartPty, OpenConfiguredPortReplacesThePortObject) {
  Settings.PortNumber = 2;
  ASSERT_EQ(OpenConfiguredPort(), PortOpen);
  EXPECT_EQ(OpenConfiguredPort(), PortOpen);
  Settings.PortNumber = 3;
  EXPECT_EQ(OpenConfiguredPort(), PortClosed);
  Uart.reset();
}

TEST(ReaderThreadLife, StopWithNoThreadIsHarmless) {
  ASSERT_FALSE(ReaderThread);
  StopReader();
  EXPECT_FALSE(ReaderThread);
}

TEST(ReaderThreadLife, StopTwiceIsHarmless) {
  StartReader();
  ASSERT_TRUE(ReaderThread);
  ResumeReader();
  StopReader();
  EXPECT_FALSE(ReaderThread);
  StopReader();
  EXPECT_FALSE(ReaderThread);
}

TEST(ReaderThreadLife, StopEndsAThreadThatNeverRan) {
  StartReader();
  ASSERT_TRUE(ReaderThread);
  const HANDLE thread = ReaderThread->Handle();
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, STILL_ACTIVE);
  StopReader();
  EXPECT_FALSE(ReaderThread);
}

TEST(ReaderThreadLife, StartEndsThePreviousThread) {
  StartReader();
  ResumeReader();
  HANDLE duplicate = nullptr;
  ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), ReaderThread->Handle(), GetCurrentProcess(),
                              &duplicate, SYNCHRONIZE, FALSE, 0));
  const TUniqueHandle first(duplicate);
  StartReader();
  EXPECT_EQ(WaitForSingleObject(first.Get(), 0), WAIT_OBJECT_0);
  ASSERT_TRUE(ReaderThread);
  ResumeReader();
  StopReader();
  EXPECT_FALSE(ReaderThread);
}

}  // namespace
