#include "help_document.h"

#include <cwctype>
#include <sstream>

namespace {

// "[20] Главное окно" gives 20 and the title; anything else is not a heading.
bool ParseHeading(const std::wstring& line, std::int32_t& context, std::wstring& title) {
  if (line.size() < 3 || line.front() != L'[') return false;
  const std::size_t close = line.find(L']');
  if (close == std::wstring::npos || close == 1) return false;
  std::int32_t value = 0;
  for (std::size_t i = 1; i < close; ++i) {
    if (!std::iswdigit(line[i]) || value > 100000) return false;
    value = value * 10 + (line[i] - L'0');
  }
  context = value;
  std::size_t start = close + 1;
  while (start < line.size() && line[start] == L' ') ++start;
  title = line.substr(start);
  return true;
}

void TrimTrailingBlankLines(std::wstring& text) {
  while (text.size() >= 2 && text.compare(text.size() - 2, 2, L"\r\n") == 0)
    text.resize(text.size() - 2);
}

}  // namespace

THelpDocument ParseHelpDocument(const std::wstring& source) {
  THelpDocument document;
  THelpTopic* current = nullptr;
  std::wistringstream lines(source);
  std::wstring line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    if (!line.empty() && line.front() == L';') continue;
    std::int32_t context = 0;
    std::wstring title;
    if (ParseHeading(line, context, title)) {
      current = &document[context];
      current->Title = title;
      current->Text.clear();
    } else if (current != nullptr) {
      if (!current->Text.empty() || !line.empty()) current->Text += line + L"\r\n";
    }
  }
  for (auto& entry : document) TrimTrailingBlankLines(entry.second.Text);
  return document;
}
