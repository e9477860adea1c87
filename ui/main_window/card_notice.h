// What the operator is told of a card that was not typed: the number as it would have been
// typed, so that it can be typed by hand, and a short reason.
#pragma once

#include <string>

#include "journal/journal_row.h"

std::wstring NotTypedNoticeText(const TJournalRow& row);
