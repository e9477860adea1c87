// TUart against a pseudo-terminal: COMn is one end, COM(n+200) the far end.
#include <gtest/gtest.h>

#include <windows.h>

#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "core/unique_handle_win.h"
#include "reader/dev_th_win.h"
#include "reader/port_state.h"
#include "reader/stop_signal_win.h"
#include "reader/uart_device_win.h"
#include "tests/support/rig_port_control.h"
#include "tests/support/wait.h"

namespace {

using TBuffer = std::array<std::uint8_t, kPortReadSize>;

// A byte sent after what a test sends: once it has arrived, whatever was sent before it has
// too, and anything sent by mistake stands between.
constexpr std::uint8_t kSentinel = 0xA5;

// Reads until `count` bytes have arrived, or timeoutMs has passed; what arrived.
std::vector<std::uint8_t> ReadAtLeast(TUart& port, std::size_t count, DWORD timeoutMs = 5000) {
  std::vector<std::uint8_t> all;
  TBuffer buffer;
  WaitUntil(
      [&] {
        std::uint32_t received = 0;
        if (port.Receive(buffer, received))
          all.insert(all.end(), buffer.begin(), buffer.begin() + received);
        return all.size() >= count;
      },
      timeoutMs);
  return all;
}

// What arrives before the sentinel the sender sends after `bytes`, sentinel included.
std::vector<std::uint8_t> WithSentinel(std::vector<std::uint8_t> bytes) {
  bytes.push_back(kSentinel);
  return bytes;
}

// The bytes waiting in the port's input queue.
DWORD Queued(const TUart& port) {
  COMSTAT status{};
  DWORD errors = 0;
  return ClearCommError(port.Device().Handle.Get(), &errors, &status) ? status.cbInQue : 0;
}

std::vector<std::uint8_t> Pattern(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  std::iota(bytes.begin(), bytes.end(), std::uint8_t{1});
  return bytes;
}

TEST(UartPty, OpensWithStatusZero) {
  TUart port(PortDevicePath(2));
  EXPECT_FALSE(port.Closed);
  EXPECT_EQ(port.Status, TUart::kOk);
  EXPECT_EQ(port.PortName, L"\\\\.\\COM2");
}

TEST(UartPty, EmptyReadReturnsAtOnceWithZero) {
  TUart port(PortDevicePath(2));
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
  TUart port(PortDevicePath(2));
  TUart farEnd(PortDevicePath(202));
  ASSERT_FALSE(port.Closed);
  ASSERT_FALSE(farEnd.Closed);
  const std::vector<std::uint8_t> frame = {0x00, 0x12, 0x34, 0x56, 0x78};
  ASSERT_TRUE(farEnd.Send(frame));
  ASSERT_TRUE(farEnd.Send(std::vector{kSentinel}));
  EXPECT_EQ(ReadAtLeast(port, frame.size() + 1), WithSentinel(frame));
}

TEST(UartPty, SendOf513BytesFailsAndWritesNothing) {
  TUart port(PortDevicePath(2));
  TUart farEnd(PortDevicePath(202));
  ASSERT_FALSE(port.Closed);
  EXPECT_FALSE(port.Send(Pattern(513)));
  EXPECT_EQ(port.Status, TUart::kWriteFailed);
  EXPECT_EQ(port.Device().TxDone, 0u);
  ASSERT_TRUE(port.Send(std::vector{kSentinel}));
  EXPECT_EQ(ReadAtLeast(farEnd, 1), WithSentinel({})) << "bytes of the refused send arrived";
}

TEST(UartPty, SendOf512BytesArrivesWhole) {
  TUart port(PortDevicePath(2));
  TUart farEnd(PortDevicePath(202));
  ASSERT_FALSE(port.Closed);
  const auto bytes = Pattern(512);
  EXPECT_TRUE(port.Send(bytes));
  EXPECT_EQ(port.Status, TUart::kOk);
  EXPECT_EQ(port.Device().TxDone, 512u);
  ASSERT_TRUE(port.Send(std::vector{kSentinel}));
  EXPECT_EQ(ReadAtLeast(farEnd, bytes.size() + 1), WithSentinel(bytes));
}

TEST(UartPty, PurgeDropsWhatWasBuffered) {
  TUart port(PortDevicePath(2));
  TUart farEnd(PortDevicePath(202));
  ASSERT_TRUE(farEnd.Send(Pattern(20)));
  ASSERT_TRUE(WaitUntil([&] { return Queued(port) == 20; }, 5000)) << Queued(port) << " queued";
  PurgePort(&port);
  EXPECT_EQ(Queued(port), 0u);
  TBuffer buffer;
  std::uint32_t count = 99;
  EXPECT_TRUE(port.Receive(buffer, count));
  EXPECT_EQ(count, 0u);
}

TEST(UartPty, ClosedPortFailsReadsAndLeavesCountAlone) {
  TUart port(PortDevicePath(2));
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
  TUart port(PortDevicePath(2));
  ASSERT_TRUE(port.Close());
  EXPECT_TRUE(port.Open());
  EXPECT_FALSE(port.Closed);
}

// The line as the device took it, read by the rig on the Linux side of the pair.
TEST(UartPty, LineIs19200BaudEightBitsNoParityOneStopBitWithoutFlowControl) {
  TUart port(PortDevicePath(2));
  ASSERT_FALSE(port.Closed);
  const std::string settings = rig::LineSettings(2);
  for (const char* wanted : {" speed 19200 baud;", " cs8 ", " -parenb ", " -cstopb ", " -crtscts ",
                             " -ixon ", " -ixoff "})
    EXPECT_NE((" " + settings + " ").find(wanted), std::string::npos)
        << "missing \"" << wanted << "\" in: " << settings;
}

TEST(UartPty, PortAboveNineOpens) {
  TUart port(PortDevicePath(12));
  EXPECT_FALSE(port.Closed);
  EXPECT_EQ(port.Status, TUart::kOk);
}

// The reader's wait: a limit passes quiet; a byte arriving while it waits wakes it, and that
// byte is the first one the next read hands out; a raised stop wins over bytes waiting.
TEST(UartPty, TheWaitWakesForBytesKeepsTheFirstAndYieldsToTheStop) {
  using namespace std::chrono_literals;
  TUart port(PortDevicePath(2));
  TUart farEnd(PortDevicePath(202));
  ASSERT_FALSE(port.Closed);
  ASSERT_FALSE(farEnd.Closed);
  const TStopSignal stop;
  EXPECT_EQ(port.Wait(20ms, stop), TPortWake::Quiet);
  const std::vector<std::uint8_t> frame{0x00, 0x12, 0x34, 0x56, 0x78};
  std::thread sender([&] {
    Sleep(200);
    farEnd.Send(frame);
  });
  const TPortWake woke = port.Wait(5000ms, stop);
  sender.join();
  EXPECT_EQ(woke, TPortWake::Bytes);
  EXPECT_EQ(ReadAtLeast(port, frame.size()), frame);

  ASSERT_TRUE(farEnd.Send(frame));
  ASSERT_TRUE(WaitUntil([&] { return Queued(port) == frame.size(); }, 5000));
  stop.Raise();
  EXPECT_EQ(port.Wait(5000ms, stop), TPortWake::Stop) << "the stop wins over the bytes";
  EXPECT_EQ(ReadAtLeast(port, frame.size()), frame) << "the stop took no byte";
}

TEST(UartNoDevice, DanglingLinkFailsToOpen) {
  TUart port(PortDevicePath(3));
  EXPECT_TRUE(port.Closed);
  EXPECT_EQ(port.Status, TUart::kOpenFailed);
}

TEST(UartNoDevice, MissingPortFailsToOpen) {
  TUart port(PortDevicePath(4));
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
  ReaderThread.Stop();
  EXPECT_FALSE(ReaderThread);
}

TEST(ReaderThreadLife, StopTwiceIsHarmless) {
  StartReader();
  ASSERT_TRUE(ReaderThread);
  ReaderThread.Resume();
  ReaderThread.Stop();
  EXPECT_FALSE(ReaderThread);
  ReaderThread.Stop();
  EXPECT_FALSE(ReaderThread);
}

TEST(ReaderThreadLife, StopEndsAThreadThatNeverRan) {
  StartReader();
  ASSERT_TRUE(ReaderThread);
  const HANDLE thread = ReaderThread->Handle();
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, STILL_ACTIVE);
  ReaderThread.Stop();
  EXPECT_FALSE(ReaderThread);
}

TEST(ReaderThreadLife, StartEndsThePreviousThread) {
  StartReader();
  ReaderThread.Resume();
  HANDLE duplicate = nullptr;
  ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), ReaderThread->Handle(), GetCurrentProcess(),
                              &duplicate, SYNCHRONIZE, FALSE, 0));
  const TUniqueHandle first(duplicate);
  StartReader();
  EXPECT_EQ(WaitForSingleObject(first.Get(), 0), WAIT_OBJECT_0);
  ASSERT_TRUE(ReaderThread);
  ReaderThread.Resume();
  ReaderThread.Stop();
  EXPECT_FALSE(ReaderThread);
}

}  // namespace
