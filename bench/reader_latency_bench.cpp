// How long a card takes from the line to another program's window, in each number format and
// with each key after the number, beside the reader as it was (a 40 ms sleep between looks at
// the port) in the same run, and how often each wakes while nobody presents a card.
// Not a test: run it by hand inside the rig, e.g.
//   tests/rig/session start
//   tests/rig/with-ports 2 -- tests/rig/wine-run build/win32/bench/reader_bench.exe
//   tests/rig/session stop
// Arguments (optional): number of cards for each output setting (default 200), idle seconds
// (default 60). The wake-ups are the context switches of all the process's threads, as Linux
// counts them under Wine (Z:\proc\self\task); the process does nothing else meanwhile.
// Every card of the reader goes into the card journal, as in the program; one case also has the
// journal written to a daily file (in %TEMP%, removed at the end), to show what the disk adds.
// The reader runs on COM2 in this process; this process also writes the frames to COM202 and
// watches notepad's edit control, so both ends of a measurement use one clock. The output
// settings take turns card by card, so a drift of the machine weighs on all of them alike.
#include <windows.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/common.h"
#include "journal/journal_sink.h"
#include "journal/journal_writer.h"
#include "reader/card_code.h"
#include "reader/card_typing_win.h"
#include "reader/dev_th_win.h"
#include "reader/frame_reader.h"
#include "reader/port_state.h"
#include "reader/typing_plan.h"
#include "reader/uart.h"
#include "tests/support/notepad.h"
#include "tests/support/thread_facts.h"
#include "tools/cardsim/sim_plan.h"

namespace {

constexpr double kTypingTimeoutSeconds = 2.0;
constexpr std::uint8_t kReaderType = 1;

struct TOutputCase {
  const char* Name;
  TOutputSettings Output;
  const wchar_t* KeyAsTyped;  // what notepad holds for the key after the number
  bool JournalToFile = false;
};

constexpr std::array<TOutputCase, 7> kOutputCases{{
    {"decimal, no key (as ever)", {}, L""},
    {"decimal, journal to file", {}, L"", true},
    {"facility,number", {TCardFormat::FacilityNumber, TCardSuffix::None, false}, L""},
    {"hexadecimal", {TCardFormat::Hexadecimal, TCardSuffix::None, false}, L""},
    {"decimal + Enter", {TCardFormat::Decimal, TCardSuffix::Enter, false}, L"\r\n"},
    {"decimal + Tab", {TCardFormat::Decimal, TCardSuffix::Tab, false}, L"\t"},
    {"40 ms loop, decimal (before)", {}, L""},
}};
constexpr std::size_t kPollingCase = kOutputCases.size() - 1;

// The reader as it was: a sleep of 40 ms, one read of what is buffered, the frame rules, the
// typing.
class TPollingReader {
 public:
  explicit TPollingReader(TUart& port)
      : Port_(port), Thread_(CreateThread(nullptr, 0, &TPollingReader::Run, this, 0, nullptr)) {}
  ~TPollingReader() {
    Stop_ = true;
    WaitForSingleObject(Thread_.Get(), INFINITE);
  }

 private:
  static DWORD WINAPI Run(void* self) {
    static_cast<TPollingReader*>(self)->Loop();
    return 0;
  }
  void Loop() {
    TFrameAccumulator frame;
    std::array<std::uint8_t, kPortReadSize> received;
    Port_.Purge();
    while (!Stop_) {
      Sleep(40);
      std::uint32_t count = 0;
      if (!Port_.Receive(received, count)) continue;
      if (count == 0) {
        frame.NoteQuietPoll();
        continue;
      }
      switch (frame.Add(std::span<const std::uint8_t>(received).first(count))) {
        case TFrameAccumulator::TStep::Waiting:
          break;
        case TFrameAccumulator::TStep::Overflow:
          frame.Clear();
          Port_.Purge();
          break;
        case TFrameAccumulator::TStep::Complete:
          const CardCode code = DecodeFrame(frame.Bytes(), ReaderTypeNow());
          Port_.Purge();
          TypeCardCode(code);
          break;
      }
    }
  }

  TUart& Port_;
  std::atomic<bool> Stop_{false};
  TUniqueHandle Thread_;
};


double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / frequency;
}

double ThreadCpuSeconds(HANDLE thread) { return static_cast<double>(ThreadCpuTime(thread)) / 1e7; }

LRESULT TextLength(HWND edit) {
  DWORD_PTR length = 0;
  SendMessageTimeoutW(edit, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 1000, &length);
  return static_cast<LRESULT>(length);
}

struct TLatencies {
  std::vector<double> FirstDigitMs;  // the reader's part: the wait, read, decode, post
  std::vector<double> Ms;            // up to the last character: adds the target's own typing
  std::size_t Characters = 0;        // typed in all, for the target's share of Ms
  int Lost = 0;
  int Wrong = 0;
};

// One card in the output setting of the moment, from its frame's last byte to notepad.
void MeasureCard(const TNotepad& notepad, TUart& farEnd, CardCode code,
                 const std::wstring& expected, std::mt19937_64& random, TLatencies& result) {
  notepad.Clear();
  // Land the frames at every phase of the 40 ms loop's sleep.
  Sleep(60 + static_cast<DWORD>(random() % 40));
  if (!farEnd.Send(cardsim::Frame40(code))) {
    ++result.Lost;
    return;
  }
  const double written = Now();
  double first = 0;
  double arrived = 0;
  while (Now() - written < kTypingTimeoutSeconds) {
    const LRESULT length = TextLength(notepad.Edit());
    if (first == 0 && length > 0) first = Now();
    if (length >= static_cast<LRESULT>(expected.size())) {
      arrived = Now();
      break;
    }
    // Notepad handles a sent query before any posted character, so asking without a
    // pause would hold the digits back and measure the benchmark itself.
    Sleep(1);
  }
  if (arrived == 0) {
    ++result.Lost;
    return;
  }
  if (notepad.Text() != expected) ++result.Wrong;
  result.Characters += expected.size();
  result.FirstDigitMs.push_back((first - written) * 1000);
  result.Ms.push_back((arrived - written) * 1000);
}

// The journal's file, written or not as each case says.
TJournalWriter* JournalWriter = nullptr;

// The cases from `first` up to `end` take turns card by card.
void MeasureCards(const TNotepad& notepad, TUart& farEnd, int cardsEach, std::size_t first,
                  std::size_t end, std::array<TLatencies, kOutputCases.size()>& result) {
  std::mt19937_64 random(20261208);
  const std::size_t cases = end - first;
  for (std::size_t i = 0; i < static_cast<std::size_t>(cardsEach) * cases; ++i) {
    const std::size_t turn = first + i % cases;
    const TOutputCase& c = kOutputCases[turn];
    SetOutputSettings(c.Output);
    if (JournalWriter != nullptr) JournalWriter->Configure({.ToFile = c.JournalToFile});
    const CardCode code = random() & cardsim::kMax40Bit;
    const std::wstring expected = CardCodeText(code, c.Output.Format, kReaderType) + c.KeyAsTyped;
    MeasureCard(notepad, farEnd, code, expected, random, result[turn]);
  }
  SetOutputSettings({});
}

// Nobody presents a card for `seconds`; the lines around it mark the spell for counting.
void Idle(const char* reader, int seconds) {
  std::printf("idle begins: %s\n", reader);
  std::fflush(stdout);
  Sleep(static_cast<DWORD>(seconds) * 1000);
  std::printf("idle ends: %s\n", reader);
  std::fflush(stdout);
}

// What the output settings cost the reader thread itself for one card: the text and the
// messages that carry it, without the posting, which is the same call for every setting.
double DecisionMicroseconds(const TOutputSettings& output) {
  constexpr int kRounds = 200'000;
  std::mt19937_64 random(7);
  std::size_t sink = 0;
  const double start = Now();
  for (int i = 0; i < kRounds; ++i) {
    const CardCode code = random() & cardsim::kMax40Bit;
    const std::wstring text = CardCodeText(code, output.Format, kReaderType);
    sink += CaretWindowMessages(text, output.Suffix, 0x1C).size();
  }
  const double seconds = Now() - start;
  return sink == 0 ? 0 : seconds * 1e6 / kRounds;
}

// The lines the journal's files hold, headers included: the case that writes them wrote.
int LineCount(const std::filesystem::path& folder) {
  int lines = 0;
  std::error_code error;
  for (std::filesystem::directory_iterator file(folder, error), end; !error && file != end;
       file.increment(error)) {
    std::ifstream stream(file->path(), std::ios::binary);
    lines += static_cast<int>(std::count(std::istreambuf_iterator<char>(stream),
                                         std::istreambuf_iterator<char>(), '\n'));
  }
  return lines;
}

double Percentile(std::vector<double> sorted, double p) {
  const auto at = static_cast<std::size_t>(p * static_cast<double>(sorted.size() - 1) + 0.5);
  return sorted[std::min(at, sorted.size() - 1)];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int cardsEach = argc > 1 ? std::max(1, _wtoi(argv[1])) : 200;
  const int idleSeconds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 60;
  Settings.PortNumber = 2;
  SetReaderType(kReaderType);
  if (OpenConfiguredPort() != PortOpen) {
    std::printf("COM2 did not open (run inside tests/rig/with-ports 2)\n");
    return 1;
  }
  TUart farEnd(PortDevicePath(202));
  TNotepad notepad;
  if (farEnd.Closed || notepad.Edit() == nullptr || !notepad.Focus()) {
    std::printf("COM202 or notepad is not usable\n");
    return 1;
  }
  std::array<TLatencies, kOutputCases.size()> latencies;
  const std::filesystem::path journalFolder =
      std::filesystem::temp_directory_path() / L"lintavo-bench-journal";
  auto writer = std::make_unique<TJournalWriter>(Journal, journalFolder, LocalNow, nullptr);
  TJournalSink sink(Journal, LocalNow, nullptr);
  JournalWriter = writer.get();
  StartReader({.Sink = &sink});
  ReaderThread.Resume();
  MeasureCards(notepad, farEnd, cardsEach, 0, kPollingCase, latencies);
  JournalWriter = nullptr;
  writer.reset();
  const int journalLines = LineCount(journalFolder);
  std::error_code removed;
  std::filesystem::remove_all(journalFolder, removed);
  notepad.Clear();
  const double idleStart = Now();
  const double cpuStart = ThreadCpuSeconds(ReaderThread->Handle());
  Idle("reader", idleSeconds);
  const double idleCpu = ThreadCpuSeconds(ReaderThread->Handle()) - cpuStart;
  const double idleWall = Now() - idleStart;
  ReaderThread.Stop();

  {
    TPollingReader polling(*Uart);
    MeasureCards(notepad, farEnd, cardsEach, kPollingCase, kOutputCases.size(), latencies);
    notepad.Clear();
    Idle("40 ms loop", idleSeconds);
  }
  for (TLatencies& each : latencies) {
    std::sort(each.FirstDigitMs.begin(), each.FirstDigitMs.end());
    std::sort(each.Ms.begin(), each.Ms.end());
  }

  int lost = 0;
  int wrong = 0;
  std::printf("reader benchmark: %d cards for each output setting, 40/42-bit reader\n",
              cardsEach);
  std::printf("%-28s %6s %6s %6s %6s | %-29s | %9s\n", "", "typed", "lost", "wrong", "chars",
              "frame to last character (ms)", "first (ms)");
  std::printf("%-28s %6s %6s %6s %6s | %9s %9s %9s | %9s\n", "output setting", "", "", "",
              "(avg)", "p50", "p99", "max", "p50");
  for (std::size_t i = 0; i < kOutputCases.size(); ++i) {
    const TLatencies& each = latencies[i];
    lost += each.Lost;
    wrong += each.Wrong;
    std::printf("%-28s %6d %6d %6d", kOutputCases[i].Name, static_cast<int>(each.Ms.size()),
                each.Lost, each.Wrong);
    if (!each.Ms.empty()) {
      std::printf(" %6.1f", static_cast<double>(each.Characters) / each.Ms.size());
      std::printf(" | %9.2f %9.2f %9.2f | %9.2f", Percentile(each.Ms, 0.50),
                  Percentile(each.Ms, 0.99), each.Ms.back(), Percentile(each.FirstDigitMs, 0.50));
    }
    std::printf("\n");
  }
  std::printf("%-44s %9s\n", "the reader's own work per card", "us");
  for (std::size_t i = 0; i < kPollingCase; ++i)
    std::printf("  %-42s %9.3f\n", kOutputCases[i].Name, DecisionMicroseconds(kOutputCases[i].Output));
  std::printf("%-44s %9.3f\n", "idle reader CPU (% of one core)", 100 * idleCpu / idleWall);
  std::printf("%-44s %9.1f\n", "idle wall time (s)", idleWall);
  std::printf("%-44s %9d\n", "journal file lines (a header a day)", journalLines);

  return lost == 0 && wrong == 0 ? 0 : 1;
}
