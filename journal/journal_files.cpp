#include "journal/journal_files.h"

#include <chrono>
#include <cwchar>

namespace {

constexpr wchar_t kExtension[] = L".csv";
constexpr int kSecondsADay = 24 * 60 * 60;

std::chrono::sys_days DayOf(const TLocalTime& time) {
  return std::chrono::year_month_day{std::chrono::year{time.Year},
                                     std::chrono::month{static_cast<unsigned>(time.Month)},
                                     std::chrono::day{static_cast<unsigned>(time.Day)}};
}

bool Digits(std::wstring_view text) {
  for (const wchar_t character : text)
    if (character < L'0' || character > L'9') return false;
  return !text.empty();
}

int NumberOf(std::wstring_view digits) {
  int value = 0;
  for (const wchar_t character : digits) value = value * 10 + (character - L'0');
  return value;
}

}  // namespace

std::wstring JournalFileName(const TLocalTime& day) {
  wchar_t name[24];
  std::swprintf(name, std::size(name), L"%04d-%02d-%02d%ls", day.Year, day.Month, day.Day,
                kExtension);
  return name;
}

// Only the names this program gives: "YYYY-MM-DD.csv" of a real date.
std::optional<TLocalTime> JournalFileDay(std::wstring_view name) {
  constexpr std::size_t kLength = 14;
  if (name.size() != kLength || name.substr(10) != kExtension || name[4] != L'-' ||
      name[7] != L'-')
    return std::nullopt;
  const std::wstring_view year = name.substr(0, 4), month = name.substr(5, 2),
                          day = name.substr(8, 2);
  if (!Digits(year) || !Digits(month) || !Digits(day)) return std::nullopt;
  const TLocalTime time{.Year = NumberOf(year), .Month = NumberOf(month), .Day = NumberOf(day)};
  const std::chrono::year_month_day date{std::chrono::year{time.Year},
                                         std::chrono::month{static_cast<unsigned>(time.Month)},
                                         std::chrono::day{static_cast<unsigned>(time.Day)}};
  if (!date.ok()) return std::nullopt;
  return time;
}

std::vector<std::wstring> OldJournalFiles(std::span<const std::wstring> names,
                                          const TLocalTime& today, int keepDays) {
  std::vector<std::wstring> old;
  for (const std::wstring& name : names) {
    const auto day = JournalFileDay(name);
    if (day && (DayOf(today) - DayOf(*day)).count() >= keepDays) old.push_back(name);
  }
  return old;
}

int SecondsToMidnight(const TLocalTime& now) {
  const int passed = (now.Hour * 60 + now.Minute) * 60 + now.Second;
  return passed >= kSecondsADay ? 1 : kSecondsADay - passed;
}
