#include "ui/main_window/card_notice.h"

#include "ui/shell/texts.h"

namespace {

const wchar_t* ReasonText(TNotTyped reason) {
  switch (reason) {
    case TNotTyped::OwnWindow:
      return kNotTypedOwnWindow;
    case TNotTyped::NoCaret:
      return kNotTypedNoCaret;
    case TNotTyped::Elevated:
      return kNotTypedElevated;
    case TNotTyped::Refused:
      return kNotTypedRefused;
    case TNotTyped::None:
    case TNotTyped::NoWindow:
      break;
  }
  return kNotTypedNoWindow;
}

}  // namespace

std::wstring NotTypedNoticeText(const TNotTypedCard& card) {
  return kNotTypedNumber + CardCodeText(card.Code, card.Format, card.ReaderType) + L"\n" +
         ReasonText(card.Reason);
}
