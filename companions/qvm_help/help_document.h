// A help document: topics by context number, read from a UTF-8 text file. A line
// "[number] title" starts a topic; the lines after it are the topic's text; lines that
// start with ';' are remarks. Topic 0 is the contents page.
#pragma once

#include <cstdint>
#include <map>
#include <string>

struct THelpTopic {
  std::wstring Title;
  std::wstring Text;  // lines joined with CR LF, ready for an edit control
};

using THelpDocument = std::map<std::int32_t, THelpTopic>;

inline constexpr std::int32_t kContentsTopic = 0;

THelpDocument ParseHelpDocument(const std::wstring& source);
