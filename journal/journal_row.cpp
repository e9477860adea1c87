#include "journal/journal_row.h"

#include <cwchar>

#include "journal/journal_texts.h"

TJournalRow JournalRowOf(const TCardOutcome& outcome, const TLocalTime& time) {
  const TNotTypedCard& card = outcome.Card;
  return {.Time = time,
          .Number = CardCodeText(card.Code, card.Format, card.ReaderType),
          .Target = outcome.Target,
          .Outcome = card.Reason};
}

std::wstring TimeText(const TLocalTime& time) {
  wchar_t text[32];
  std::swprintf(text, std::size(text), L"%02d.%02d.%04d %02d:%02d:%02d", time.Day, time.Month,
                time.Year, time.Hour, time.Minute, time.Second);
  return text;
}

std::wstring WhereText(const TCardTarget& target) {
  if (target.WindowTitle.empty() && target.ProgramFile.empty()) return kJournalNoWindow;
  if (target.ProgramFile.empty()) return target.WindowTitle;
  if (target.WindowTitle.empty()) return target.ProgramFile;
  return target.WindowTitle + L" — " + target.ProgramFile;
}

std::wstring OutcomeText(TNotTyped outcome) {
  if (outcome == TNotTyped::None) return kJournalTyped;
  std::wstring text = kJournalNotTyped + NotTypedReasonText(outcome);
  for (wchar_t& character : text)
    if (character == L'\n') character = L' ';
  return text;
}

std::wstring NotTypedReasonText(TNotTyped reason) {
  switch (reason) {
    case TNotTyped::OwnWindow:
      return kNotTypedOwnWindow;
    case TNotTyped::NoCaret:
      return kNotTypedNoCaret;
    case TNotTyped::Elevated:
      return kNotTypedElevated;
    case TNotTyped::Refused:
      return kNotTypedRefused;
    case TNotTyped::NoSession:
      return kNotTypedNoSession;
    case TNotTyped::None:
    case TNotTyped::NoWindow:
      break;
  }
  return kNotTypedNoWindow;
}
