// Typing a card number into whatever control of whatever program holds the text caret, or,
// when the operator asked for it, into the focused window of a program that shows none.
#pragma once

#include "reader/card_code.h"

// Formats the number by the output options of the moment and types it, with the key after
// it if one is chosen: posted to the caret window of the foreground window's GUI thread, or
// without a caret given to the system as key presses for the focused window (never one of
// this program's own). Nothing is sent, queued or retried when there is no foreground window,
// or it shows no caret and typing without one is off.
void TypeCardCode(CardCode code);
