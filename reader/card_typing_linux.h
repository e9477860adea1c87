// Typing a card number into the window that has the keyboard focus, under X11: key presses
// through the XTest extension, one character after another, made by libxdo, which finds
// or lends a key for each character whatever keyboard layout is active.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "reader/card_code.h"
#include "reader/card_delivery.h"
#include "reader/typing_session.h"

// The pause, in microseconds, libxdo takes with each key. The input methods GNOME and KDE
// run (IBus, Fcitx) hand each key back to the program in turn and swap or drop keys that come
// faster than they answer. Measured through IBus on a busy two-core machine
// (bench/linux/typing_pace_bench.cpp): 500 swapped about one card in a hundred, 1000 to 4000
// now and then one in a few hundred, 6000 none in 800; a card of eleven keys then takes
// about a tenth of a second. The letters a layout lacks sit on keys lent for the reader's
// life (TKeyboard), so no pause has to outwait a key being given back.
inline constexpr unsigned kKeyPauseUs = 6000;

// Decided once at start, on the GUI thread, before the first reader starts; read by the
// reader threads after that.
extern TTypingSession TypingSession;

// Makes Xlib safe for the reader's own display connection beside the toolkit's, and tells
// the session apart. Call first thing in main(), before any other X call.
TTypingSession PrepareTyping();

// The GUI thread says when one of the program's menus opens and when the last one closes,
// and, once at start, how to have them closed from a reader thread. An open menu holds the
// keyboard, and a card's keys would go into it, its Enter choosing the highlighted item: the
// menus are closed first, and the card is not typed when they stay open.
void SetOwnMenuOpen(bool open);
void SetOwnMenuCloser(std::function<void()> close);

// One reader thread's connection to the X display; it types nothing when the session is
// not X11 or the display did not open.
class TCardTyper {
 public:
  TCardTyper();
  ~TCardTyper();
  TCardTyper(const TCardTyper&) = delete;
  TCardTyper& operator=(const TCardTyper&) = delete;

  // Formats the number by the output options of the moment and types it, with the key
  // after it if one is chosen, into the focused window; never into this program's own
  // windows (the operator working in the setup dialog must not have it typed into), and
  // nothing is queued or retried when no window has the focus. What became of it comes
  // back.
  TCardOutcome Type(CardCode code);

 private:
  TNotTyped TypeText(const std::wstring& text, TCardSuffix suffix);

  // The reader's own display connection, the keys it lent and the libxdo that types.
  struct TKeyboard;
  std::unique_ptr<TKeyboard> Keys_;
};
