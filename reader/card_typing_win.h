// Typing a card number into whatever control of whatever program holds the text caret.
#pragma once

#include "reader/card_code.h"

// Posts one WM_CHAR per digit to the caret window of the foreground window's GUI thread.
// Nothing is sent, queued or retried when there is no foreground window or it shows no caret.
void TypeCardCode(CardCode code);
