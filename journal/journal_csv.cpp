#include "journal/journal_csv.h"

#include "core/utf8_text.h"
#include "journal/journal_texts.h"

namespace {

constexpr char kSeparator = ';';
constexpr char kQuote = '"';
constexpr char kTextMark = '\'';
constexpr char kLineEnd[] = "\r\n";

// What a spreadsheet reads as the start of a formula, and the mark itself, so that a text
// that starts with the mark comes back whole.
bool NeedsTextMark(std::wstring_view text) {
  if (text.empty()) return false;
  switch (text.front()) {
    case L'=':
    case L'+':
    case L'-':
    case L'@':
    case L'\t':
    case L'\r':
    case L'\'':
      return true;
    default:
      return false;
  }
}

bool NeedsQuotes(std::string_view field) {
  return field.find_first_of(";\"\r\n") != std::string_view::npos;
}

std::wstring WithoutTextMark(std::wstring field) {
  if (field.size() > 1 && field.front() == L'\'' && NeedsTextMark(std::wstring_view(field).substr(1)))
    field.erase(0, 1);
  return field;
}

}  // namespace

std::string CsvField(std::wstring_view text) {
  std::wstring marked;
  if (NeedsTextMark(text)) marked += static_cast<wchar_t>(kTextMark);
  marked += text;
  const std::string field = Utf8OfWide(marked);
  if (!NeedsQuotes(field)) return field;
  std::string quoted(1, kQuote);
  for (const char character : field) {
    if (character == kQuote) quoted += kQuote;
    quoted += character;
  }
  return quoted + kQuote;
}

std::string CsvHeaderLine() {
  std::string line;
  for (const wchar_t* name : {kJournalColumnTime, kJournalColumnNumber, kJournalFileColumnWindow,
                              kJournalFileColumnProgram}) {
    line += CsvField(name);
    line += kSeparator;
  }
  return line + CsvField(kJournalColumnOutcome) + kLineEnd;
}

std::string CsvLineOf(const TJournalRow& row) {
  return CsvField(TimeText(row.Time)) + kSeparator + CsvField(row.Number) + kSeparator +
         CsvField(row.Target.WindowTitle) + kSeparator + CsvField(row.Target.ProgramFile) +
         kSeparator + CsvField(OutcomeText(row.Outcome)) + kLineEnd;
}

std::optional<std::vector<std::wstring>> CsvFieldsOf(std::string_view record) {
  std::vector<std::wstring> fields;
  std::size_t at = 0;
  while (true) {
    std::string field;
    if (at < record.size() && record[at] == kQuote) {
      ++at;
      while (true) {
        if (at >= record.size()) return std::nullopt;
        if (record[at] == kQuote) {
          if (at + 1 < record.size() && record[at + 1] == kQuote) {
            field += kQuote;
            at += 2;
            continue;
          }
          ++at;
          break;
        }
        field += record[at++];
      }
      if (at < record.size() && record[at] != kSeparator) return std::nullopt;
    } else {
      const std::size_t end = std::min(record.find(kSeparator, at), record.size());
      field = record.substr(at, end - at);
      if (field.find(kQuote) != std::string::npos) return std::nullopt;
      at = end;
    }
    fields.push_back(WithoutTextMark(WideOfUtf8(field)));
    if (at >= record.size()) return fields;
    ++at;  // the separator
  }
}
