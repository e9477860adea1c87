// The journal's file format: UTF-8 with a byte-order mark, fields between ';', a header
// line, CRLF at each line's end, as Excel on a Russian Windows opens a table. A field is
// quoted when it holds ';', a quote or a line break, its quotes doubled; a field that a
// spreadsheet would take for a formula gets a leading apostrophe, so that it stays text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/journal_row.h"

inline constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

// The first line of each file, after the byte-order mark.
std::string CsvHeaderLine();
// One row: «Время», «Номер», «Окно», «Программа», «Итог».
std::string CsvLineOf(const TJournalRow& row);
// One field as it stands in the line, UTF-8.
std::string CsvField(std::wstring_view text);

// The fields of one record as a program reading the file by these rules gets them back, the
// apostrophe that kept a formula as text taken off; none when the record is broken (a quote
// left open, text after a closing quote). `record` holds no line end of its own after the
// last field, but may hold line breaks inside quotes.
std::optional<std::vector<std::wstring>> CsvFieldsOf(std::string_view record);
