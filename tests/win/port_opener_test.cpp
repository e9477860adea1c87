// The configured port opened on a worker, against the real platform: the window that asked
// keeps answering while the open hangs, an open past its deadline is cancelled and its late
// answer let go, and the port the open replaces is let go first. A stand-in for the open that
// blocks until its I/O is cancelled plays the Bluetooth port that tries to connect.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <iostream>
#include <memory>
#include <optional>
#include <thread>

#include "core/unique_handle_win.h"
#include "reader/port_opener_win.h"
#include "reader/port_state.h"
#include "reader/uart.h"
#include "tests/support/message_pump.h"

namespace {

constexpr UINT kOpenedMessage = WM_APP + 40;
// The longest a message sent to the window may take while an open hangs.
constexpr DWORD kAnswersWithinMs = 250;

// An open that hangs in the system until its I/O is cancelled, then builds nothing.
class THangingOpen {
 public:
  THangingOpen() : Entered_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

  TUartOpen Open() {
    return [this](int) -> std::unique_ptr<TUart> {
      ++Hanging;
      HANDLE read = nullptr, write = nullptr;
      if (CreatePipe(&read, &write, nullptr, 0)) {
        const TUniqueHandle readEnd(read), writeEnd(write);
        SetEvent(Entered_.Get());
        char byte = 0;
        DWORD got = 0;
        // A read of a pipe nobody writes to returns only when it is cancelled.
        if (!ReadFile(read, &byte, 1, &got, nullptr) && GetLastError() == ERROR_OPERATION_ABORTED)
          ++Cancelled;
      }
      --Hanging;
      return nullptr;
    };
  }
  bool WaitEntered() const { return WaitForSingleObject(Entered_.Get(), 5000) == WAIT_OBJECT_0; }

  std::atomic<int> Hanging{0};
  std::atomic<int> Cancelled{0};

 private:
  TUniqueHandle Entered_;
};

class PortOpener : public testing::Test {
 protected:
  void SetUp() override {
    Window_.Reset(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  nullptr, nullptr));
    ASSERT_TRUE(Window_.Valid());
  }
  void TearDown() override { EndPortOpens(); }

  // Pumps this thread's messages, as the GUI loop does, until the opener's answer comes; the
  // numbers it carried.
  std::optional<WPARAM> PumpForAnswer(DWORD timeoutMs) {
    std::optional<WPARAM> number;
    PumpUntil([&] { return number.has_value(); }, timeoutMs, [&](const MSG& msg) {
      if (msg.hwnd == Window_.Get() && msg.message == kOpenedMessage) number = msg.wParam;
    });
    return number;
  }

  HWND Window() const { return Window_.Get(); }

 private:
  TUniqueWindow Window_;
};

TEST_F(PortOpener, TheWindowAnswersWhileTheOpenHangsAndTheDeadlineCancelsIt) {
  THangingOpen hanging;
  constexpr std::uint64_t kDeadlineMs = 1500;
  TPortOpener opener(Window(), kOpenedMessage, hanging.Open(), kDeadlineMs);
  opener.Open(nullptr, 5);
  ASSERT_TRUE(hanging.WaitEntered()) << "the open never began";
  EXPECT_TRUE(opener.UnderWay());

  // Another program sends the window a message while the open hangs; this thread pumps.
  std::atomic<DWORD> answeredInMs{MAXDWORD};
  std::atomic<bool> hungWhileSent{false};
  std::thread other([&] {
    const ULONGLONG sent = GetTickCount64();
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(Window(), WM_NULL, 0, 0, SMTO_BLOCK, 5000, &result) != 0)
      answeredInMs = static_cast<DWORD>(GetTickCount64() - sent);
    hungWhileSent = hanging.Hanging.load() == 1;
  });
  PumpUntil([&] { return answeredInMs.load() != MAXDWORD; }, 3000);
  other.join();
  std::cout << "the window answered in " << answeredInMs.load() << " ms while the open hung\n";
  EXPECT_LE(answeredInMs.load(), kAnswersWithinMs);
  EXPECT_TRUE(hungWhileSent) << "the open had already ended: the answer proves nothing";

  // The line timer's ticks: nothing is given up before the deadline, then the open is.
  EXPECT_FALSE(opener.GiveUpLate()) << "given up long before its deadline";
  bool givenUp = false;
  PumpUntil([&] { return givenUp = opener.GiveUpLate(); }, 5000);
  EXPECT_TRUE(givenUp) << "the deadline passed and the open was not given up";
  EXPECT_FALSE(opener.UnderWay());

  // The cancel reaches the hanging open; its late answer is let go, never posted: a second
  // open that answers at once is the first message to come.
  EndPortOpens();
  EXPECT_EQ(hanging.Hanging, 0) << "the open still hangs after the program let it end";
  EXPECT_EQ(hanging.Cancelled, 1) << "the hanging open ended some other way than cancelled";
  TPortOpener quick(Window(), kOpenedMessage, [](int) { return std::unique_ptr<TUart>(); });
  quick.Open(nullptr, 6);
  const std::optional<WPARAM> first = PumpForAnswer(3000);
  ASSERT_TRUE(first.has_value()) << "the quick open never answered";
  EXPECT_FALSE(opener.Take(*first).has_value()) << "the given-up open's answer was taken";
  EXPECT_TRUE(quick.Take(*first).has_value()) << "the first answer was not the quick open's";
}

TEST_F(PortOpener, ReopeningTheSamePortLetsTheOldOneGoFirst) {
  auto old = std::make_unique<TUart>(PortDevicePath(2));
  ASSERT_FALSE(old->Closed) << "COM2 did not open";
  TPortOpener opener(Window(), kOpenedMessage);
  opener.Open(std::move(old), 2);
  const std::optional<WPARAM> number = PumpForAnswer(5000);
  ASSERT_TRUE(number.has_value()) << "the open never answered";
  std::optional<std::unique_ptr<TUart>> port = opener.Take(*number);
  ASSERT_TRUE(port.has_value());
  ASSERT_TRUE(*port);
  EXPECT_EQ((*port)->PortName, L"\\\\.\\COM2");
  EXPECT_FALSE((*port)->Closed) << "COM2 was still held by the port it replaced";
  EXPECT_FALSE(opener.UnderWay());
}

TEST_F(PortOpener, AnAnswerNoLongerWantedIsClosedNotLeaked) {
  const TUniqueHandle gate(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::atomic<bool> lateOpened{false};
  // The first open gets COM2, but only after a second open replaced it.
  TPortOpener opener(Window(), kOpenedMessage, [&](int port) {
    if (port == 2) {
      WaitForSingleObject(gate.Get(), 5000);
      auto opened = OpenUart(port);
      lateOpened = !opened->Closed;
      return opened;
    }
    return OpenUart(port);
  });
  opener.Open(nullptr, 2);
  opener.Open(nullptr, 1);
  SetEvent(gate.Get());
  const std::optional<WPARAM> number = PumpForAnswer(5000);
  ASSERT_TRUE(number.has_value()) << "the second open never answered";
  const std::optional<std::unique_ptr<TUart>> port = opener.Take(*number);
  ASSERT_TRUE(port.has_value()) << "the answer that came was not the wanted open's";
  ASSERT_TRUE(*port);
  EXPECT_EQ((*port)->PortName, L"\\\\.\\COM1");

  EndPortOpens();
  EXPECT_TRUE(lateOpened) << "the replaced open never got its port: nothing was shown";
  EXPECT_TRUE(OpenPortDevice(L"\\\\.\\COM2").Device.Valid())
      << "the late answer for COM2 was kept open";
}

// A driver that ignores the cancel: the open given up is still hanging, and says so, so that
// the retry adds no second thread beside it; once it ends, the retry may go on.
TEST_F(PortOpener, AnOpenThatIgnoresItsCancelIsStillHangingUntilItEnds) {
  const TUniqueHandle gate(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::atomic<bool> ended{false};
  TPortOpener opener(
      Window(), kOpenedMessage,
      [&](int) {
        WaitForSingleObject(gate.Get(), 10'000);
        ended = true;
        return std::unique_ptr<TUart>();
      },
      200);
  EXPECT_FALSE(opener.StillHanging()) << "hanging before any open";
  opener.Open(nullptr, 5);
  EXPECT_FALSE(opener.StillHanging()) << "an open under way is not yet given up";
  bool givenUp = false;
  PumpUntil([&] { return givenUp = opener.GiveUpLate(); }, 5000);
  ASSERT_TRUE(givenUp);
  RecancelOpens();
  EXPECT_TRUE(opener.StillHanging());
  SetEvent(gate.Get());
  EndPortOpens();
  EXPECT_TRUE(ended);
  EXPECT_FALSE(opener.StillHanging()) << "still hanging after its thread ended";
}

// A thread cancelled before it reached its open (a probe whose round closed just then) is
// caught by the cancel the line timer repeats; without it, the open would hang on.
struct TLateOpen {
  TUniqueHandle AtGate{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  TUniqueHandle Gate{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::atomic<bool> Aborted{false};
  std::atomic<bool> Done{false};
};

DWORD WINAPI OpenAfterTheGate(void* param) {
  auto& late = *static_cast<TLateOpen*>(param);
  SetEvent(late.AtGate.Get());
  WaitForSingleObject(late.Gate.Get(), 5000);
  HANDLE read = nullptr, write = nullptr;
  if (CreatePipe(&read, &write, nullptr, 0)) {
    const TUniqueHandle readEnd(read), writeEnd(write);
    char byte = 0;
    DWORD got = 0;
    late.Aborted = !ReadFile(read, &byte, 1, &got, nullptr) &&
                   GetLastError() == ERROR_OPERATION_ABORTED;
  }
  late.Done = true;
  return 0;
}

TEST(OpenThreads, ACancelThatCameBeforeTheOpenIsRepeatedOnTheTick) {
  TLateOpen late;
  const std::uint64_t ticket = StartOpenThread(&OpenAfterTheGate, &late);
  ASSERT_NE(ticket, 0u);
  ASSERT_EQ(WaitForSingleObject(late.AtGate.Get(), 5000), WAIT_OBJECT_0);
  CancelOpenThread(ticket);  // nothing to cancel yet
  SetEvent(late.Gate.Get());
  // The line timer's ticks, at a faster pace.
  const ULONGLONG until = GetTickCount64() + 3000;
  while (!late.Done && GetTickCount64() < until) {
    RecancelOpens();
    Sleep(50);
  }
  EXPECT_TRUE(late.Done) << "the open still hangs";
  EXPECT_TRUE(late.Aborted) << "the open ended some other way than cancelled";
  EndPortOpens();
}

}  // namespace
