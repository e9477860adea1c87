// How fast keys may go into a text field that takes them through IBus, the input method GNOME
// and KDE run by default: for each pause between keys, the share of cards that arrive exact
// and a card's typing time. Not a test: run it by hand, e.g.
//   build/linux/bench/linux_typing_pace_bench [cards per pause, default 300] [pauses in
//   microseconds, default 1000 2000 4000 6000]
// It starts its own Xvfb, a private ibus-daemon and a Qt text field using it, and types each
// card as the program does: one libxdo key sequence per character, a letter as Shift and its
// key, then Enter, with the pause given to libxdo.
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

extern "C" {
#include <xdo.h>
}

#include "tests/linux/text_target.h"

namespace {

std::string KeySequenceOf(char character) {
  if (character >= 'A' && character <= 'F') return std::string("shift+") + character;
  return std::string(1, character);
}

std::string HexCard(std::uint64_t number) {
  char text[16];
  std::snprintf(text, sizeof text, "%010llX", static_cast<unsigned long long>(number));
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const int cards = argc > 1 ? std::atoi(argv[1]) : 300;
  std::vector<useconds_t> pauses;
  for (int i = 2; i < argc; ++i) pauses.push_back(static_cast<useconds_t>(std::atoi(argv[i])));
  if (pauses.empty()) pauses = {1000, 2000, 4000, 6000};
  TXSession session;
  TScratch scratch;
  TTextTarget target = TTextTarget::ThroughIBus(scratch.Path(), LINTAVO_IBUS_FIELD);
  target.Focus();
  std::mt19937_64 random(26);
  for (const useconds_t pause : pauses) {
    int exact = 0;
    double typing = 0;
    for (int card = 0; card < cards; ++card) {
      const std::string text = HexCard(random() & 0xFFFFFFFFFF);
      xdo_t* xdo = xdo_new(nullptr);
      const auto start = std::chrono::steady_clock::now();
      for (const char character : text)
        xdo_send_keysequence_window(xdo, CURRENTWINDOW, KeySequenceOf(character).c_str(), pause);
      xdo_send_keysequence_window(xdo, CURRENTWINDOW, "Return", pause);
      typing += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      xdo_free(xdo);
      const std::string arrived = target.TextUntil(text + "\n", 2s);
      if (arrived == text + "\n") {
        ++exact;
      } else {
        std::printf("  %s arrived as %s\n", text.c_str(), arrived.c_str());
      }
    }
    std::printf("pause %5u us: %d/%d cards exact, %.1f ms typing a card of 11 keys\n", pause, exact,
                cards, typing * 1000 / cards);
  }
  return 0;
}
