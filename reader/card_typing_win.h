// Typing a card number into whatever control of whatever program holds the text caret, or,
// when the operator asked for it, into the focused window of a program that shows none.
#pragma once

#include "reader/card_code.h"
#include "reader/card_delivery.h"

// Formats the number by the output options of the moment and types it, with the key after
// it if one is chosen: posted to the caret window of the foreground window's GUI thread, or
// without a caret given to the system as key presses for the focused window (never one of
// this program's own). Nothing is queued or retried. What became of it comes back, with the
// reason when it was not typed in full or found nowhere to go, for the operator to be told.
TCardOutcome TypeCardCode(CardCode code);
