// From a card's frame on the line to its first and to its last character in a window, for
// the Linux edition with the card journal kept in memory only and written to its daily file
// too and, in the same run, for a naive reader that blocks in read() on the port and types
// with the same pause between keys; then how often the program's reader
// thread wakes while nobody presents a card. Not a test: run it by hand, e.g.
//   build/linux/bench/linux_reader_bench [cards, default 200] [idle seconds, default 60]
// $LINTAVO_PROGRAM runs another build of the program (an older one, for a before and after
// on one machine). It starts its own Xvfb, an xterm to type into and each reader on a
// pseudo-terminal; the time runs from the frame's write to the moment the character is in
// the xterm's file (the xterm and cat add well under a millisecond).
#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/linux/lintavo_run.h"
#include "tests/linux/text_target.h"

namespace {

using TClock = std::chrono::steady_clock;

double Ms(TClock::duration span) { return std::chrono::duration<double, std::milli>(span).count(); }

std::string Ini(const std::string& device, bool journalToFile = false) {
  return "[SETTINGS]\nMinimizeOnRun=0\nCheckExit=0\nRunOnlyOneCopy=0\nReaderType=1\nPortDevice=" +
         device + "\n[JOURNAL]\nToFile=" + (journalToFile ? "1" : "0") + "\n";
}

// The lines of the journal's files, header lines included: what reached the disk.
long JournalLines(const std::filesystem::path& folder) {
  long lines = 0;
  std::error_code error;
  for (std::filesystem::directory_iterator file(folder, error), end; !error && file != end;
       file.increment(error)) {
    std::ifstream in(file->path());
    for (std::string line; std::getline(in, line);) ++lines;
  }
  return lines;
}

struct TTimes {
  std::vector<double> First;
  std::vector<double> Last;
  int Lost = 0;
  long JournalLines = 0;
};

// Cards a little over 100 ms apart, landing at every phase of a 40 ms poll.
TTimes Measure(TVirtualReader& reader, TTextTarget& target, int cards) {
  TTimes times;
  for (int card = 0; card < cards; ++card) {
    const std::uint64_t number =
        0x0100000000ull + static_cast<std::uint64_t>(card) * 7919 * 1031 % 0xFFFFFFFFull;
    const std::string typed = std::to_string(number);
    std::this_thread::sleep_for(std::chrono::milliseconds(100 + card * 37 % 40));
    const auto start = TClock::now();
    reader.Present(Card40(number));
    std::optional<double> first;
    std::optional<std::string> arrived;
    while (!(arrived = target.Take(typed)) && Ms(TClock::now() - start) < 2000) {
      if (!first && target.Begun()) first = Ms(TClock::now() - start);
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    if (!arrived || *arrived != typed) {
      ++times.Lost;
      continue;
    }
    times.First.push_back(first.value_or(Ms(TClock::now() - start)));
    times.Last.push_back(Ms(TClock::now() - start));
  }
  return times;
}

double At(std::vector<double> sorted, double share) {
  std::ranges::sort(sorted);
  return sorted[static_cast<std::size_t>(share * static_cast<double>(sorted.size() - 1) + 0.5)];
}

void Print(const char* name, const TTimes& t) {
  if (t.Last.empty()) {
    std::printf("%-32s  no card arrived\n", name);
    return;
  }
  std::printf("%-32s %5zu %5d | %7.2f %7.2f %7.2f | %7.2f %7.2f %7.2f\n", name, t.Last.size(),
              t.Lost, At(t.First, 0.5), At(t.First, 0.99), At(t.First, 1.0), At(t.Last, 0.5),
              At(t.Last, 0.99), At(t.Last, 1.0));
}

TTimes MeasureProgram(int cards, bool journalToFile) {
  TScratch scratch;
  TVirtualReader reader(scratch.Path());
  TTextTarget target(scratch.Path());
  const std::string state = scratch.Path() + "/state";
  TLintavo lintavo(scratch, Ini(reader.Device(), journalToFile), {{"XDG_STATE_HOME", state}});
  if (!lintavo.WaitReading(target.Connection())) return {};
  target.Focus();
  TTimes times = Measure(reader, target, cards);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  times.JournalLines = JournalLines(state + "/lintavo/journal");
  return times;
}

TTimes MeasureNaive(int cards) {
  TScratch scratch;
  TVirtualReader reader(scratch.Path());
  TTextTarget target(scratch.Path());
  TChild naive({LINTAVO_NAIVE_READER, reader.Device()});
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  target.Focus();
  return Measure(reader, target, cards);
}

// The reader thread's context switches so far: each is a wake-up after a sleep or a wait.
std::optional<long> ReaderSwitches(pid_t pid) {
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  DIR* dir = opendir(tasks.c_str());
  if (dir == nullptr) return std::nullopt;
  std::optional<long> switches;
  while (const dirent* entry = readdir(dir)) {
    const std::string task = tasks + "/" + entry->d_name;
    std::string name;
    std::getline(std::ifstream(task + "/comm"), name);
    if (name != "lintavo-reader") continue;
    std::ifstream status(task + "/status");
    long sum = 0;
    for (std::string line; std::getline(status, line);) {
      if (line.rfind("voluntary_ctxt_switches:", 0) == 0 ||
          line.rfind("nonvoluntary_ctxt_switches:", 0) == 0)
        sum += std::stol(line.substr(line.find(':') + 1));
    }
    switches = sum;
  }
  closedir(dir);
  return switches;
}

void MeasureIdle(int seconds) {
  TScratch scratch;
  TVirtualReader reader(scratch.Path());
  TTextTarget target(scratch.Path());
  TLintavo lintavo(scratch, Ini(reader.Device()));
  if (!lintavo.WaitReading(target.Connection())) return;
  std::this_thread::sleep_for(std::chrono::seconds(2));
  const auto before = ReaderSwitches(lintavo.Pid());
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  const auto after = ReaderSwitches(lintavo.Pid());
  if (!before || !after) {
    std::printf("idle: no reader thread found\n");
    return;
  }
  std::printf("idle, port open, %d s: the reader thread woke %ld times (%.1f a second)\n",
              seconds, *after - *before, static_cast<double>(*after - *before) / seconds);
}

}  // namespace

int main(int argc, char** argv) {
  const int cards = argc > 1 ? std::atoi(argv[1]) : 200;
  const int idleSeconds = argc > 2 ? std::atoi(argv[2]) : 60;
  TXSession session;
  std::printf("program: %s\n", TLintavo::Program().c_str());
  std::printf("frame to character (ms), decimal, 40/42-bit reader\n");
  std::printf("%-32s %5s %5s | %7s %7s %7s | %7s %7s %7s\n", "", "cards", "lost", "first",
              "", "", "last", "", "");
  std::printf("%-32s %5s %5s | %7s %7s %7s | %7s %7s %7s\n", "reader", "", "", "p50", "p99",
              "max", "p50", "p99", "max");
  const TTimes inMemory = MeasureProgram(cards, false);
  const TTimes toFile = MeasureProgram(cards, true);
  Print("the program, journal in memory", inMemory);
  Print("the program, journal to file", toFile);
  Print("naive blocking reader", MeasureNaive(cards));
  std::printf("journal file lines (header included): %ld in memory only, %ld written\n",
              inMemory.JournalLines, toFile.JournalLines);
  MeasureIdle(idleSeconds);
}
