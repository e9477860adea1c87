// A card presented to the running program and read back from Wine's notepad, with a sentinel
// card after it, so that what notepad shows is read only once nothing of the card can still
// be on its way.
#pragma once

#include <windows.h>

#include <string>

#include "tests/support/cardsim.h"
#include "tests/support/front_window.h"
#include "tests/support/notepad.h"
#include "tests/support/wait.h"

namespace e2e {

struct TCard {
  std::wstring CardsimArgs;  // what cardsim writes, e.g. L"--card26 3430008"
  std::wstring Text;         // what the program types for it as it is set
};

// Every reader type reads it as 9; in plain digits without a key after it, that is "9".
inline const TCard kSentinel{L"--raw 0000000009", L"9"};

inline constexpr DWORD kTypingMs = 10'000;

// Asks once for notepad to come to the front, clears it and presents the card on the far
// end of COM`port`; once its text is there, presents the sentinel and waits for the
// sentinel's text after it. What notepad shows then: exactly the card's text and the
// sentinel's when all is well. A step that went wrong says so, with what held the front.
inline std::wstring TypedInNotepad(const TNotepad& notepad, int port, const TCard& card,
                                   const TCard& sentinel = kSentinel) {
  if (!notepad.Focus()) return L"<notepad did not come to the front; " + DescribeFront() + L">";
  notepad.Clear();
  const std::wstring farEnd = L"--port COM" + std::to_wstring(port + 200) + L" ";
  if (RunCardsim(farEnd + card.CardsimArgs) != 0) return L"<cardsim failed>";
  WaitUntil([&] { return notepad.Text().size() >= card.Text.size(); }, kTypingMs);
  const std::size_t before = notepad.Text().size();
  if (RunCardsim(farEnd + sentinel.CardsimArgs) != 0) return L"<cardsim failed on the sentinel>";
  WaitUntil(
      [&] {
        const std::wstring text = notepad.Text();
        return text.size() >= before + sentinel.Text.size() && text.ends_with(sentinel.Text);
      },
      kTypingMs);
  return notepad.Text();
}

}  // namespace e2e
