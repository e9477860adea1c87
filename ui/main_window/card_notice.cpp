#include "ui/main_window/card_notice.h"

#include "ui/shell/texts.h"

std::wstring NotTypedNoticeText(const TJournalRow& row) {
  return kNotTypedNumber + row.Number + L"\n" + NotTypedReasonText(row.Outcome);
}
