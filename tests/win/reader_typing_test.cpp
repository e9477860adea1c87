// The reader thread within this process: bytes on the far end of COM2, the number in another
// program's window (Wine's notepad) in each format and with each key, the exact messages a
// window with a caret receives, and nothing where nothing may be typed.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "core/common.h"
#include "reader/card_typing_win.h"
#include "reader/dev_th_win.h"
#include "reader/port_state.h"
#include "reader/uart.h"
#include "tests/support/cardsim.h"
#include "tests/support/child_process.h"
#include "tests/support/front_window.h"
#include "tests/support/notepad.h"
#include "tests/support/typing_target_window.h"
#include "tests/support/wait.h"

namespace {

constexpr DWORD kTypingMs = 5000;
// A card every reader type and every format reads as "9" once the output is back to the
// defaults: presented after a card under test, it shows by its place in the text that
// nothing of that card came after it.
constexpr wchar_t kSentinelFrame[] = L"--raw 0000000009";
constexpr wchar_t kSentinelText[] = L"9";

// The real port as the reader sees it, counted: the reader goes to sleep without a limit
// only once it has finished with what it read.
class TCountedPort final : public TReaderPort {
 public:
  explicit TCountedPort(TReaderPort& port) : Port_(port) {}

  TPortWake Wait(std::optional<std::chrono::milliseconds> limit,
                 const TStopSignal& stop) override {
    if (!limit) AsleepAfter_ = Bytes_.load();
    return Port_.Wait(limit, stop);
  }
  bool Receive(std::span<std::uint8_t, kPortReadSize> destination,
               std::uint32_t& count) override {
    const bool read = Port_.Receive(destination, count);
    if (read) Bytes_ += count;
    return read;
  }
  void Purge() override { Port_.Purge(); }
  std::uint32_t LastReadError() const override { return Port_.LastReadError(); }

  std::uint64_t Bytes() const { return Bytes_; }
  // Waits until `bytes` bytes have been read in all and the reader sleeps again.
  bool DealtWith(std::uint64_t bytes) const {
    return WaitUntil([&] { return AsleepAfter_ >= bytes; }, kTypingMs);
  }

 private:
  TReaderPort& Port_;
  std::atomic<std::uint64_t> Bytes_{0};
  std::atomic<std::uint64_t> AsleepAfter_{0};
};

bool PresentCard(const std::wstring& cardsimArgs) {
  return RunCardsim(L"--port COM202 " + cardsimArgs) == 0;
}

// One reader on COM2 for the suite, built as the main window builds it but reading through
// the counted port, and notepad to type into.
class ReaderTyping : public testing::Test {
 public:
  static void SetUpTestSuite() {
    Settings.PortNumber = 2;
    OpenConfiguredPort();
    if (Uart && !Uart->Closed) {
      Port = std::make_unique<TCountedPort>(*Uart);
      Reader = TDevTh::Create(Port.get(), {}, 1);
      if (Reader) Reader->Resume();
    }
    Notepad = std::make_unique<TNotepad>();
  }
  // The reader stops before its port goes, and notepad goes even when a test failed.
  static void TearDownTestSuite() {
    Reader.reset();
    Port.reset();
    Uart.reset();
    Notepad.reset();
  }

 protected:
  void SetUp() override {
    ASSERT_TRUE(Uart && !Uart->Closed) << "COM2 did not open";
    ASSERT_TRUE(Reader) << "no reader thread";
    ASSERT_NE(Notepad->Edit(), nullptr) << "notepad did not come up";
    SetOutputSettings({});
    Notepad->Clear();
  }

  static bool FocusNotepad() { return Notepad->Focus(); }

  // Presents a card of `bytes` bytes and waits until the reader has dealt with all of them.
  static bool PresentAndWaitForTheReader(const std::wstring& cardsimArgs, std::uint32_t bytes) {
    const std::uint64_t total = Port->Bytes() + bytes;
    return PresentCard(cardsimArgs) && Port->DealtWith(total);
  }

  // Presents the sentinel card in plain digits: what notepad shows once it came after what
  // was there.
  static std::wstring TextThroughTheSentinel() {
    const std::size_t before = Notepad->Text().size();
    SetOutputSettings({});
    if (!PresentCard(kSentinelFrame)) return L"<cardsim failed on the sentinel>";
    WaitUntil(
        [&] {
          const std::wstring text = Notepad->Text();
          return text.size() > before && text.ends_with(kSentinelText);
        },
        kTypingMs);
    return Notepad->Text();
  }

  static std::unique_ptr<TCountedPort> Port;
  static std::unique_ptr<TDevTh> Reader;
  static std::unique_ptr<TNotepad> Notepad;
};

std::unique_ptr<TCountedPort> ReaderTyping::Port;
std::unique_ptr<TDevTh> ReaderTyping::Reader;
std::unique_ptr<TNotepad> ReaderTyping::Notepad;

// ---- the number in notepad ---------------------------------------------------------------

struct TTypingCase {
  const char* Name;
  std::uint8_t ReaderType;
  const wchar_t* CardsimArgs;
  std::uint32_t Bytes;  // what cardsim writes
  const wchar_t* Expected;
  TOutputSettings Output{};
};

class ReaderTypingCases : public ReaderTyping, public testing::WithParamInterface<TTypingCase> {};

TEST_P(ReaderTypingCases, DigitsArriveInTheCaretWindow) {
  const auto& c = GetParam();
  SetReaderType(c.ReaderType);
  SetOutputSettings(c.Output);
  ASSERT_TRUE(FocusNotepad()) << DescribeFront();
  ASSERT_TRUE(PresentAndWaitForTheReader(c.CardsimArgs, c.Bytes)) << "the reader took nothing";
  const std::wstring expected = c.Expected;
  WaitUntil([&] { return Notepad->Text().size() >= expected.size(); }, kTypingMs);
  EXPECT_EQ(TextThroughTheSentinel(), expected + kSentinelText) << DescribeFront();
}

INSTANTIATE_TEST_SUITE_P(
    ReaderTyping, ReaderTypingCases,
    testing::Values(
        TTypingCase{"Type1WholeFrame", 1, L"--raw 0012345678", 5, L"305419896"},
        TTypingCase{"Type0WholeFrame", 0, L"--raw 0012345678", 5, L"3430008"},
        TTypingCase{"Type1FortyBitMaximum", 1, L"--card40 1099511627775", 5, L"1099511627775"},
        TTypingCase{"Type0Card26", 0, L"--card26 16777215", 5, L"16777215"},
        TTypingCase{"Type0ZeroIsOneDigit", 0, L"--raw 0100000000", 5, L"0"},
        TTypingCase{"SplitThreeThenTwoTypedOnce", 1, L"--raw 0012345678 --split 3 --gap 40", 5,
                    L"305419896"},
        TTypingCase{"ThreeThenThreeOverflowsAndTypesNothing", 1,
                    L"--raw 001234567800 --split 3 --gap 40", 6, L""},
        TTypingCase{"DoubleFrameInOneWriteTypesNothing", 1, L"--raw 00123456780012345678", 10,
                    L""},
        TTypingCase{"SeparateFramesAreEachTyped", 1, L"--card40 7 --repeat 3 --interval 300", 15,
                    L"777"}),
    [](const auto& info) { return std::string(info.param.Name); });

// Each number format and key as notepad receives them: one frame that every format reads
// differently, 0x12345678 on the 40/42-bit reader and 0x345678 on the 26-bit one.
constexpr wchar_t kFrame[] = L"--raw 0012345678";
constexpr TOutputSettings kFacility{TCardFormat::FacilityNumber, TCardSuffix::None, false};
constexpr TOutputSettings kHex{TCardFormat::Hexadecimal, TCardSuffix::None, false};
constexpr TOutputSettings kEnter{TCardFormat::Decimal, TCardSuffix::Enter, false};
constexpr TOutputSettings kFacilityTab{TCardFormat::FacilityNumber, TCardSuffix::Tab, false};

INSTANTIATE_TEST_SUITE_P(
    ReaderOutput, ReaderTypingCases,
    testing::Values(
        TTypingCase{"DefaultsTypeTheDigitsAsEver", 0, kFrame, 5, L"3430008"},
        TTypingCase{"FacilityNumber26", 0, kFrame, 5, L"052,22136", kFacility},
        TTypingCase{"FacilityNumber40KeepsTheHighBits", 1, kFrame, 5, L"4660,22136", kFacility},
        TTypingCase{"Hexadecimal26", 0, kFrame, 5, L"345678", kHex},
        TTypingCase{"Hexadecimal40", 1, kFrame, 5, L"0012345678", kHex},
        TTypingCase{"EnterIsOneNewLine", 0, kFrame, 5, L"3430008\r\n", kEnter},
        TTypingCase{"TabIsOneTab", 0, kFrame, 5, L"052,22136\t", kFacilityTab}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- what a window with a caret receives, message for message ----------------------------

using TKeyMessage = TTypingTargetWindow::TKeyMessage;

std::vector<TKeyMessage> DigitMessages(const std::wstring& digits) {
  std::vector<TKeyMessage> messages;
  for (wchar_t digit : digits) messages.push_back({WM_CHAR, digit, 0});
  return messages;
}

// A press of the real key as the window's own loop sees it: the key-down and key-up, which
// come queued together, then the character its TranslateMessage made of the key-down.
std::vector<TKeyMessage> KeyPress(UINT key, wchar_t character) {
  const auto press = static_cast<LPARAM>(1 | (MapVirtualKeyW(key, MAPVK_VK_TO_VSC) << 16));
  const auto release = static_cast<LPARAM>(static_cast<DWORD>(press) | 0xC0000000u);
  return {{WM_KEYDOWN, key, press},
          {WM_KEYUP, key, release},
          {WM_CHAR, static_cast<WPARAM>(character), press}};
}

struct TMessagesCase {
  const char* Name;
  TCardSuffix Suffix;
  UINT Key;  // 0: none
  wchar_t Character;
};

class OutputMessages : public ReaderTyping, public testing::WithParamInterface<TMessagesCase> {};

// The window is this process's own: a window with a caret is typed into whoever owns it.
TEST_P(OutputMessages, AreTheDigitsThenTheKeysOwnMessages) {
  const TMessagesCase& c = GetParam();
  SetReaderType(0);
  SetOutputSettings({TCardFormat::Decimal, c.Suffix, false});
  TTypingTargetWindow window(TTypingTargetWindow::TCaret::Shown);
  ASSERT_TRUE(window.Ready()) << DescribeFront();
  std::vector<TKeyMessage> expected = DigitMessages(L"3430008");
  if (c.Key != 0) {
    for (const TKeyMessage& m : KeyPress(c.Key, c.Character)) expected.push_back(m);
  }
  ASSERT_TRUE(PresentCard(kFrame));
  ASSERT_TRUE(WaitUntil([&] { return window.Pump().Received().size() >= expected.size(); },
                        kTypingMs))
      << "received " << window.Received().size() << " of " << expected.size() << " messages; "
      << DescribeFront();
  SetOutputSettings({});
  ASSERT_TRUE(PresentCard(kSentinelFrame));
  for (const TKeyMessage& m : DigitMessages(kSentinelText)) expected.push_back(m);
  WaitUntil([&] { return window.Pump().Received().size() >= expected.size(); }, kTypingMs);
  EXPECT_EQ(window.Received(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    ReaderOutput, OutputMessages,
    testing::Values(TMessagesCase{"DefaultsAreOnlyTheCharactersAsEver", TCardSuffix::None, 0, 0},
                    TMessagesCase{"Enter", TCardSuffix::Enter, VK_RETURN, L'\r'},
                    TMessagesCase{"Tab", TCardSuffix::Tab, VK_TAB, L'\t'}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- where nothing may be typed ------------------------------------------------------------

// A window of this process without a caret in front: once the reader has dealt with the
// card, the window has received nothing; then the sentinel card, with notepad in front,
// shows the reader alive and nothing of the card left over.
class ReaderNothingTyped : public ReaderTyping {
 protected:
  void PresentToOwnWindowWithoutCaret(const TOutputSettings& output) {
    SetReaderType(1);
    SetOutputSettings(output);
    TTypingTargetWindow window(TTypingTargetWindow::TCaret::None);
    ASSERT_TRUE(window.Ready()) << DescribeFront();
    ASSERT_TRUE(PresentAndWaitForTheReader(L"--raw 0012345678", 5))
        << "the reader did not take the card";
    EXPECT_EQ(window.Pump().Received().size(), 0u) << "received " << window.Characters();
    EXPECT_EQ(GetForegroundWindow(), window.Window()) << DescribeFront();
    ASSERT_TRUE(FocusNotepad()) << DescribeFront();
    EXPECT_EQ(TextThroughTheSentinel(), kSentinelText);
  }
};

TEST_F(ReaderNothingTyped, ForegroundWithoutCaretReceivesNothing) {
  PresentToOwnWindowWithoutCaret({});
}

// Typing without a caret goes to another program's focused window, never to this one's.
TEST_F(ReaderNothingTyped, TypingWithoutACaretNeverTypesIntoThisProcesssOwnWindow) {
  PresentToOwnWindowWithoutCaret({TCardFormat::Decimal, TCardSuffix::Enter, true});
}

// ---- what the line may throw at it ---------------------------------------------------------

class ReaderBadInput : public ReaderTyping {
 protected:
  static bool ReaderAlive() {
    return Reader && WaitForSingleObject(Reader->Handle(), 0) == WAIT_TIMEOUT;
  }
};

// Random bytes and bursts of frames, sized in bytes, then after the quiet time of a real
// line a clean frame; garbage that happened to make whole frames may type numbers before it.
TEST_F(ReaderBadInput, GarbageThenACleanFrameIsTyped) {
  SetReaderType(1);
  ASSERT_TRUE(FocusNotepad()) << DescribeFront();
  ASSERT_TRUE(PresentCard(L"--garbage 2048 --gap 80 --seed 20261208 --quiet 200 " +
                          std::wstring(kFrame)));
  WaitUntil([&] { return Notepad->Text().ends_with(L"305419896"); }, kTypingMs);
  ASSERT_TRUE(ReaderAlive());
  const std::wstring typed = TextThroughTheSentinel();
  EXPECT_TRUE(typed.ends_with(std::wstring(L"305419896") + kSentinelText))
      << "notepad shows \"" << typed << "\"";
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
bool FarEndGone() { return TUart(PortDevicePath(202)).Closed; }

// Runs last in its suite: it takes the line away for good. The reader's wait fails with
// the line, and the reader ends rather than wait on, or spin on, a device that is gone.
TEST_F(ReaderBadInput, FarEndGoneEndsTheReader) {
  char pid[32] = {};
  ASSERT_GT(GetEnvironmentVariableA("LINTAVO_SOCAT_PID_2", pid, sizeof(pid)), 0u);
  ASSERT_FALSE(FarEndGone());
  ASSERT_TRUE(ReaderAlive());
  ASSERT_TRUE(StartKill(pid));
  ASSERT_TRUE(WaitUntil(FarEndGone, 5000));
  EXPECT_EQ(WaitForSingleObject(Reader->Handle(), 5000), WAIT_OBJECT_0) << "the reader kept on";
  EXPECT_EQ(Notepad->Text(), L"");
  Reader.reset();
  std::array<std::uint8_t, kPortReadSize> buffer;
  std::uint32_t count = 0;
  const bool read = Uart->Receive(buffer, count);
  EXPECT_TRUE(!read || count == 0) << "a dead line delivered " << count << " bytes";
}

}  // namespace

// ---- where the card went -------------------------------------------------------------------

// The journal names the window the card was typed into and its program, without the folder.
TEST(CardTarget, NamesTheWindowInFrontAndItsProgramsFile) {
  TTypingTargetWindow window(TTypingTargetWindow::TCaret::Shown);
  ASSERT_TRUE(window.Ready()) << DescribeFront();
  const TCardOutcome outcome = TypeCardCode(305419896);
  EXPECT_FALSE(window.Pump().Characters().empty());
  EXPECT_EQ(outcome.Card.Reason, TNotTyped::None);
  EXPECT_EQ(outcome.Target.WindowTitle, L"Typing target");
  EXPECT_EQ(outcome.Target.ProgramFile, L"reader_typing_tests.exe");
}
