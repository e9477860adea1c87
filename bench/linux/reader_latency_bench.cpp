// The Linux edition's card-to-last-character latency in each number format and with each key
// after the number, and what the program costs while nobody presents a card. Not a test:
// run it by hand, e.g.
//   build/linux/bench/linux_reader_bench [cards per setting, default 100] [idle seconds, default
//   30]
// It starts its own Xvfb, an xterm to type into and the real program on a pseudo-terminal;
// the time runs from the frame's write to the moment the last character is in the xterm's
// file (the xterm and cat add well under a millisecond).
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/linux/lintavo_run.h"
#include "tests/linux/text_target.h"

namespace {

struct TOutputCase {
  const char* Name;
  const char* Settings;
  std::string (*Typed)(std::uint64_t number);
};

std::string Decimal(std::uint64_t number) { return std::to_string(number); }
std::string WithEnter(std::uint64_t number) { return std::to_string(number) + "\n"; }
std::string WithTab(std::uint64_t number) { return std::to_string(number) + "\t"; }
std::string Facility(std::uint64_t number) {
  char text[32];
  std::snprintf(text, sizeof text, "%03llu,%05llu", static_cast<unsigned long long>(number >> 16),
                static_cast<unsigned long long>(number & 0xFFFF));
  return text;
}
std::string Hexadecimal(std::uint64_t number) {
  char text[32];
  std::snprintf(text, sizeof text, "%010llX", static_cast<unsigned long long>(number));
  return text;
}

const TOutputCase kCases[] = {
    {"decimal, no key", "", Decimal},
    {"facility,number", "[OUTPUT]\nFormat=1\n", Facility},
    {"hexadecimal", "[OUTPUT]\nFormat=2\n", Hexadecimal},
    {"decimal + Enter", "[OUTPUT]\nSuffix=1\n", WithEnter},
    {"decimal + Tab", "[OUTPUT]\nSuffix=2\n", WithTab},
};

double Seconds(std::chrono::steady_clock::duration span) {
  return std::chrono::duration<double>(span).count();
}

std::string Ini(const std::string& device, const std::string& output) {
  return "[SETTINGS]\nMinimizeOnRun=0\nCheckExit=0\nRunOnlyOneCopy=0\nReaderType=1\nPortDevice=" +
         device + "\n" + output;
}

double CpuSeconds(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  std::istringstream fields(line.substr(line.rfind(')') + 2));
  std::string field;
  unsigned long user = 0, system = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14) user = std::stoul(field);
    if (i == 15) system = std::stoul(field);
  }
  return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

void MeasureLatency(const TOutputCase& output, int cards) {
  TScratch scratch;
  TVirtualReader reader(scratch.Path());
  TTextTarget target(scratch.Path());
  TLintavo lintavo(scratch, Ini(reader.Device(), output.Settings));
  if (!lintavo.WaitReading(target.Connection())) {
    std::printf("%-18s  the program did not start reading\n", output.Name);
    return;
  }
  target.Focus();
  std::vector<double> latencies;
  int lost = 0;
  for (int card = 0; card < cards; ++card) {
    const std::uint64_t number = 0x0100000000ull + static_cast<std::uint64_t>(card) * 7919 * 1031;
    const std::string typed = output.Typed(number & 0xFFFFFFFFFFull);
    const auto start = std::chrono::steady_clock::now();
    reader.Present(Card40(number));
    std::optional<std::string> arrived;
    while (!(arrived = target.Take(typed)) &&
           Seconds(std::chrono::steady_clock::now() - start) < 2.0) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    if (!arrived) {
      ++lost;
      continue;
    }
    latencies.push_back(Seconds(std::chrono::steady_clock::now() - start) * 1000.0);
    // The reader drops what follows a frame at once; a quiet line between cards, as at a desk.
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
  }
  std::ranges::sort(latencies);
  if (latencies.empty()) {
    std::printf("%-18s  no card arrived\n", output.Name);
    return;
  }
  const auto at = [&](double share) {
    return latencies[static_cast<std::size_t>(share * (latencies.size() - 1))];
  };
  std::printf("%-18s  %4zu cards  median %6.1f ms  p95 %6.1f ms  max %6.1f ms  lost %d\n",
              output.Name, latencies.size(), at(0.5), at(0.95), latencies.back(), lost);
}

void MeasureIdle(int seconds) {
  TScratch scratch;
  TVirtualReader reader(scratch.Path());
  TTextTarget target(scratch.Path());
  TLintavo lintavo(scratch, Ini(reader.Device(), ""));
  if (!lintavo.WaitReading(target.Connection())) return;
  std::this_thread::sleep_for(std::chrono::seconds(2));
  const double before = CpuSeconds(lintavo.Pid());
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  const double used = CpuSeconds(lintavo.Pid()) - before;
  std::printf("idle, port open     %d s: %.2f s of CPU, %.3f %% of one core\n", seconds, used,
              100.0 * used / seconds);
}

}  // namespace

int main(int argc, char** argv) {
  const int cards = argc > 1 ? std::atoi(argv[1]) : 100;
  const int idleSeconds = argc > 2 ? std::atoi(argv[2]) : 30;
  TXSession session;
  for (const TOutputCase& output : kCases) MeasureLatency(output, cards);
  MeasureIdle(idleSeconds);
}
