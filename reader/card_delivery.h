// Whether a card's number reached the program in front, and if not, why: decided away from
// the platform from what the typing found and what the system said to each post or input.
// The reader thread only decides and tells the main window; the operator hears of it there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/common.h"
#include "reader/card_code.h"
#include "reader/typing_plan.h"

enum class TNotTyped : std::uint8_t {
  None,       // typed in full
  NoWindow,   // no foreground window, or none in it that takes keys
  OwnWindow,  // the foreground is this program's own window, which is never typed into
  NoCaret,    // no caret and typing without one is off
  Elevated,   // the foreground program runs with higher rights than this one
  Refused,    // the foreground program took fewer characters than were sent
  NoSession,  // the desktop session lets no program type into another (Wayland, no X)
};

// Why a card that found nowhere to go was not typed.
TNotTyped NowhereReason(const TForeground& foreground, bool noCaretTyping);

// What the system said to the typing: how many posts or input events were asked for and how
// many it took, the error of the first it refused, and whether the target was known to run
// above this program before anything was sent (the system may swallow input for such a
// program and still count it as taken).
struct TDelivery {
  std::size_t Asked = 0;
  std::size_t Taken = 0;
  std::uint32_t Error = 0;
  bool TargetAbove = false;
};

// The system's "access denied", which it gives for a program running with higher rights.
inline constexpr std::uint32_t kAccessDeniedError = 5;

TNotTyped NotTypedOf(const TDelivery& delivery);

// Whether the program in front runs above this one, from the integrity levels of both, each
// none when the system would not say. A program whose process or token cannot be looked at
// (run as administrator under another user's name, or one of the system's) is taken to run
// above: the system would swallow the keys and count them as typed. With this program's own
// level unknown there is nothing to compare, and the count of what was taken decides.
bool TargetRunsAbove(std::optional<std::uint32_t> theirs, std::optional<std::uint32_t> ours);

// A card that was not typed, with what the operator needs to type it by hand: the number in
// the format and for the reader type it was going to be typed with.
struct TNotTypedCard {
  CardCode Code = 0;
  TCardFormat Format = TCardFormat::Decimal;
  std::uint8_t ReaderType = 0;
  TNotTyped Reason = TNotTyped::None;
  bool operator==(const TNotTypedCard&) const = default;
};

// The window a card went to, or would have gone to, as the operator knows it: its title and
// the file name of its program, without the folder. Either may be empty when the system
// would not say.
struct TCardTarget {
  std::wstring WindowTitle;
  std::wstring ProgramFile;
  bool operator==(const TCardTarget&) const = default;
};

// What became of a card: the number in the format it was typed with, or would have been,
// where it went, and why it was not typed (Card.Reason None when it was, in full).
struct TCardOutcome {
  TNotTypedCard Card;
  TCardTarget Target;
  bool operator==(const TCardOutcome&) const = default;
};
