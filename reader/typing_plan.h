// What typing a card does, decided away from the platform: where the text goes, and which
// window messages or key events carry it and the key after it.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/common.h"

// The platform's numbers, spelt out so that the decisions build without it.
inline constexpr std::uint32_t kKeyDownMessage = 0x0100;  // WM_KEYDOWN
inline constexpr std::uint32_t kKeyUpMessage = 0x0101;    // WM_KEYUP
inline constexpr std::uint32_t kCharMessage = 0x0102;     // WM_CHAR
inline constexpr std::uint16_t kTabKey = 0x09;            // VK_TAB
inline constexpr std::uint16_t kEnterKey = 0x0D;          // VK_RETURN

// Where the foreground program stands when a card comes.
struct TForeground {
  bool Exists = false;    // there is a foreground window and its thread answered
  bool Ours = false;      // it belongs to this program
  bool HasCaret = false;  // its thread shows a caret
  bool HasFocus = false;  // its thread has a focused window
};

enum class TTypingRoute {
  Nowhere,
  CaretWindow,    // messages posted to the caret window, as the program always did
  FocusedWindow,  // key events into the system's input, which hands them to the focus
};

// The caret window takes the number whatever program it belongs to. Without a caret, and
// only when the operator asked for it, the number goes to the focused window, never to this
// program's own: the operator working in the setup dialog must not have it typed into.
TTypingRoute TypingRouteOf(const TForeground& foreground, bool noCaretTyping);

// The virtual key of the key after the number, none for TCardSuffix::None.
std::optional<std::uint16_t> SuffixKey(TCardSuffix suffix);

struct TPostedMessage {
  std::uint32_t Message = 0;
  std::uint32_t WParam = 0;
  std::uint32_t LParam = 0;
  bool operator==(const TPostedMessage&) const = default;
};

// For the caret window: one WM_CHAR per character with lParam 0, as ever, then the key's
// WM_KEYDOWN and WM_KEYUP as a real press of it queues them (repeat count 1, the scan code,
// the key-up with its previous-state and transition bits). The key's character is not
// posted: the target's own TranslateMessage makes it from the key-down, as for a real key,
// so a posted one would arrive twice; and a dialog's IsDialogMessage acts on the key-down
// (Enter presses the default button, Tab moves the focus). Both are queued at once, so that
// character comes after the key-up rather than before it; nothing that reads keys minds.
std::vector<TPostedMessage> CaretWindowMessages(std::wstring_view text, TCardSuffix suffix,
                                                std::uint8_t scanCode);

struct TKeyEvent {
  std::uint16_t VirtualKey = 0;  // 0 for a character
  std::uint16_t Scan = 0;        // the character itself when Unicode
  bool Unicode = false;
  bool Release = false;
  bool operator==(const TKeyEvent&) const = default;
};

// For the focused window: each character pressed and released as a Unicode character, so
// neither the keyboard layout nor Shift can change it, then the key pressed and released as
// the real key, which the target translates like one typed.
std::vector<TKeyEvent> FocusedWindowKeyEvents(std::wstring_view text, TCardSuffix suffix,
                                              std::uint16_t scanCode);
