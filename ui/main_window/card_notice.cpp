#include "ui/main_window/card_notice.h"

#include "journal/journal_row.h"
#include "ui/shell/texts.h"

std::wstring NotTypedNoticeText(const TNotTypedCard& card) {
  return kNotTypedNumber + CardCodeText(card.Code, card.Format, card.ReaderType) + L"\n" +
         NotTypedReasonText(card.Reason);
}
