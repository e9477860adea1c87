#include "core/profile_file_posix.h"

#include <fcntl.h>
#include <unistd.h>

#include <cwctype>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/unique_fd_posix.h"
#include "core/utf8_text.h"

namespace {

// A longer value is cut to its first 2047 characters, as on Windows.
constexpr std::size_t kValueLimit = 2047;

struct TLines {
  std::vector<std::wstring> Lines;
  bool CrLf = false;
};

std::wstring Trimmed(std::wstring_view text) {
  const auto first = text.find_first_not_of(L" \t");
  if (first == std::wstring_view::npos) return {};
  const auto last = text.find_last_not_of(L" \t");
  return std::wstring(text.substr(first, last - first + 1));
}

bool SameName(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return true;
}

std::optional<std::wstring> SectionOf(const std::wstring& line) {
  const std::wstring trimmed = Trimmed(line);
  if (trimmed.size() < 2 || trimmed.front() != L'[') return std::nullopt;
  const auto close = trimmed.find(L']');
  if (close == std::wstring::npos) return std::nullopt;
  return Trimmed(std::wstring_view(trimmed).substr(1, close - 1));
}

struct TEntry {
  std::wstring Key;
  std::wstring Value;
};

std::optional<TEntry> EntryOf(const std::wstring& line) {
  const std::wstring trimmed = Trimmed(line);
  if (trimmed.empty() || trimmed.front() == L';') return std::nullopt;
  const auto equals = trimmed.find(L'=');
  if (equals == std::wstring::npos) return std::nullopt;
  return TEntry{Trimmed(std::wstring_view(trimmed).substr(0, equals)),
                Trimmed(std::wstring_view(trimmed).substr(equals + 1))};
}

// A value in a matching pair of quotes is read without them.
std::wstring Unquoted(std::wstring value) {
  if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

TLines ReadLines(const std::wstring& file) {
  TLines read;
  std::ifstream in(Utf8OfWide(file), std::ios::binary);
  if (!in) return read;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::istringstream stream(bytes);
  std::string line;
  while (std::getline(stream, line)) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
      read.CrLf = true;
    }
    read.Lines.push_back(WideOfUtf8(line));
  }
  return read;
}

bool WriteLines(const std::wstring& file, const TLines& lines) {
  std::string bytes;
  for (const std::wstring& line : lines.Lines)
    bytes += Utf8OfWide(line) + (lines.CrLf ? "\r\n" : "\n");
  const std::string path = Utf8OfWide(file);
  const std::string temporary = path + ".new";
  TUniqueFd fd(open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (!fd.Valid()) return false;
  bool written = write(fd.Get(), bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  written = fsync(fd.Get()) == 0 && written;
  written = fd.Reset() && written;
  if (written && rename(temporary.c_str(), path.c_str()) == 0) return true;
  unlink(temporary.c_str());
  return false;
}

// Where the key's line is, or where a new key goes (after the section's last entry), and
// whether the section exists at all.
struct TPlace {
  bool SectionFound = false;
  std::optional<std::size_t> KeyLine;
  std::size_t InsertAt = 0;
};

TPlace Locate(const std::vector<std::wstring>& lines, const std::wstring& section,
              const std::wstring& key) {
  TPlace place;
  bool inSection = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (const auto name = SectionOf(lines[i])) {
      if (inSection) break;
      inSection = SameName(*name, section);
      if (inSection) {
        place.SectionFound = true;
        place.InsertAt = i + 1;
      }
      continue;
    }
    if (!inSection) continue;
    const auto entry = EntryOf(lines[i]);
    if (!entry) continue;
    place.InsertAt = i + 1;
    if (SameName(entry->Key, key)) {
      place.KeyLine = i;
      return place;
    }
  }
  return place;
}

}  // namespace

std::wstring TProfileFile::Read(const std::wstring& file, const std::wstring& section,
                                const std::wstring& key, const std::wstring& fallback) {
  const TLines read = ReadLines(file);
  const TPlace place = Locate(read.Lines, section, key);
  if (!place.KeyLine) return fallback;
  std::wstring value = Unquoted(EntryOf(read.Lines[*place.KeyLine])->Value);
  if (value.size() > kValueLimit) value.resize(kValueLimit);
  return value;
}

bool TProfileFile::Write(const std::wstring& file, const std::wstring& section,
                         const std::wstring& key, const std::wstring& value) {
  TLines lines = ReadLines(file);
  const std::wstring entry = key + L"=" + value;
  const TPlace place = Locate(lines.Lines, section, key);
  if (place.KeyLine) {
    lines.Lines[*place.KeyLine] = entry;
  } else if (place.SectionFound) {
    lines.Lines.insert(lines.Lines.begin() + static_cast<std::ptrdiff_t>(place.InsertAt), entry);
  } else {
    lines.Lines.push_back(L"[" + section + L"]");
    lines.Lines.push_back(entry);
  }
  return WriteLines(file, lines);
}
