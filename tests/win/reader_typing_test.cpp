// The reader thread end to end: bytes on the far end of COM2, digits in another program's
// window (Wine's notepad), nothing where no caret is.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "core/common.h"
#include "reader/dev_th_win.h"
#include "reader/uart_win.h"
#include "tests/support/cardsim.h"
#include "tests/support/child_process.h"
#include "tests/support/message_pump.h"
#include "tests/support/notepad.h"
#include "tests/support/thread_facts.h"
#include "tests/support/typing_target_window.h"
#include "tests/support/wait.h"

namespace {

constexpr DWORD kTypingTimeoutMs = 3000;
// Long enough for several polls: anything still to come would have arrived.
constexpr DWORD kSettleMs = 400;

class ReaderTyping : public testing::Test {
 public:
  static void SetUpTestSuite() {
    Settings.PortNumber = 2;
    OpenConfiguredPort();
    StartReader();
    ResumeReader();
    Notepad = std::make_unique<TNotepad>();
  }
  // The reader stops before its port goes, and notepad goes even when a test failed.
  static void TearDownTestSuite() {
    StopReader();
    Uart.reset();
    Notepad.reset();
  }

 protected:
  void SetUp() override {
    ASSERT_TRUE(Uart && !Uart->Closed) << "COM2 did not open";
    ASSERT_TRUE(ReaderThread);
    ASSERT_NE(Notepad->Edit(), nullptr) << "notepad did not come up";
    Notepad->Clear();
    ASSERT_TRUE(Notepad->Focus()) << "notepad's edit control has no caret";
  }

  // What notepad holds once typing has stopped.
  static std::wstring TypedText(std::size_t expectedLength) {
    WaitUntil([&] { return Notepad->Text().size() >= expectedLength; }, kTypingTimeoutMs);
    Sleep(kSettleMs);
    return Notepad->Text();
  }

  static std::unique_ptr<TNotepad> Notepad;
};

std::unique_ptr<TNotepad> ReaderTyping::Notepad;

struct TTypingCase {
  const char* Name;
  std::uint8_t ReaderType;
  const wchar_t* CardsimArgs;
  const wchar_t* Expected;
};

class ReaderTypingCases : public ReaderTyping,
                          public testing::WithParamInterface<TTypingCase> {};

TEST_P(ReaderTypingCases, DigitsArriveInTheCaretWindow) {
  const auto& c = GetParam();
  SetReaderType(c.ReaderType);
  ASSERT_EQ(RunCardsim(std::wstring(L"--port COM202 ") + c.CardsimArgs), 0u);
  EXPECT_EQ(TypedText(std::wcslen(c.Expected)), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    ReaderTyping, ReaderTypingCases,
    testing::Values(
        TTypingCase{"Type1WholeFrame", 1, L"--raw 0012345678", L"305419896"},
        TTypingCase{"Type0WholeFrame", 0, L"--raw 0012345678", L"3430008"},
        TTypingCase{"Type1FortyBitMaximum", 1, L"--card40 1099511627775", L"1099511627775"},
        TTypingCase{"Type0Card26", 0, L"--card26 16777215", L"16777215"},
        TTypingCase{"Type0ZeroIsOneDigit", 0, L"--raw 0100000000", L"0"},
        TTypingCase{"SplitThreeThenTwoTypedOnce", 1, L"--raw 0012345678 --split 3 --gap 40",
                    L"305419896"},
        TTypingCase{"ThreeThenThreeOverflowsAndTypesNothing", 1,
                    L"--raw 001234567800 --split 3 --gap 40", L""},
        TTypingCase{"DoubleFrameInOneWriteTypesNothing", 1, L"--raw 00123456780012345678",
                    L""},
        TTypingCase{"SeparateFramesAreEachTyped", 1, L"--card40 7 --repeat 3 --interval 300",
                    L"777"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ReaderTyping, ForegroundWithoutCaretReceivesNothing) {
  SetReaderType(1);
  TTypingTargetWindow window(TTypingTargetWindow::TCaret::None);
  ASSERT_TRUE(window.Ready());
  ASSERT_EQ(RunCardsim(L"--port COM202 --raw 0012345678"), 0u);
  window.PumpFor(kSettleMs + 200);
  EXPECT_EQ(window.Characters(), L"");
  EXPECT_EQ(Notepad->Text(), L"");
}

class ReaderBadInput : public ReaderTyping {
 protected:
  static bool ReaderAlive() {
    return ReaderThread && WaitForSingleObject(ReaderThread->Handle(), 0) == WAIT_TIMEOUT;
  }
};

TEST_F(ReaderBadInput, GarbageForThirtySecondsThenACleanFrameIsTyped) {
  SetReaderType(1);
  ASSERT_EQ(RunCardsim(L"--port COM202 --garbage-seconds 30 --gap 80 --seed 20261208", 60'000),
            0u);
  ASSERT_TRUE(ReaderAlive());
  Sleep(kSettleMs);
  Notepad->Clear();
  ASSERT_EQ(RunCardsim(L"--port COM202 --raw 0012345678"), 0u);
  EXPECT_EQ(TypedText(9), L"305419896");
}

// Wine starts a Linux program given its path on the Z: drive, but may hand back no process
// handle to wait on; the caller watches for the effect either way.
bool StartKill(const char* pid) {
  std::wstring command = L"Z:\\bin\\kill ";
  for (const char* c = pid; *c != '\0'; ++c) command.push_back(static_cast<wchar_t>(*c));
  TChildProcess kill(command);
  kill.Wait(5000);
  return kill.Started();
}

// With socat gone the far end's device link leads nowhere.
bool FarEndGone() { return TUart(202).Closed; }

// Runs last in its suite: it takes the line away for good.
TEST_F(ReaderBadInput, FarEndGoneMakesReadsFailQuietlyWithoutBusyLoop) {
  char pid[32] = {};
  ASSERT_GT(GetEnvironmentVariableA("LINTAVO_SOCAT_PID_2", pid, sizeof(pid)), 0u);
  ASSERT_FALSE(FarEndGone());
  ASSERT_TRUE(StartKill(pid));
  ASSERT_TRUE(WaitUntil(FarEndGone, 5000));
  Sleep(200);
  const HANDLE thread = ReaderThread->Handle();
  const std::uint64_t before = ThreadCpuTime(thread);
  const DWORD start = GetTickCount();
  Sleep(2000);
  const std::uint64_t cpuMs = (ThreadCpuTime(thread) - before) / 10'000;
  const DWORD wallMs = GetTickCount() - start;
  EXPECT_TRUE(ReaderAlive());
  // A poll is one failed read and a 40 ms sleep; a loop that stopped sleeping takes a core.
  EXPECT_LT(cpuMs, wallMs / 4) << "reader used " << cpuMs << " ms of CPU in " << wallMs << " ms";
  EXPECT_EQ(Notepad->Text(), L"");
  StopReader();
  std::array<std::uint8_t, kPortReadSize> buffer;
  std::uint32_t count = 0;
  const bool read = Uart->Receive(buffer, count);
  EXPECT_TRUE(!read || count == 0) << "a dead line delivered " << count << " bytes";
}

}  // namespace
