#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ini_value.h"

namespace {

struct WordsCase {
  const char* name;
  const wchar_t* text;
  std::vector<std::wstring> words;
};

class PositionWordsRule : public testing::TestWithParam<WordsCase> {};

TEST_P(PositionWordsRule, SplitsAtCommasAndSpaces) {
  EXPECT_EQ(PositionWords(GetParam().text), GetParam().words);
}

const WordsCase kWordsCases[] = {
    {"AsWritten", L"279,117,620,317", {L"279", L"117", L"620", L"317"}},
    {"MixedSeparators", L"1, 2,,3 4", {L"1", L"2", L"3", L"4"}},
    {"LeadingAndTrailingSeparators", L" ,,10,20 , ", {L"10", L"20"}},
    {"BlanksOnly", L"10 20   30", {L"10", L"20", L"30"}},
    {"SignsAndPrefixesStayInTheWord", L"-4,$64,x64,0x64", {L"-4", L"$64", L"x64", L"0x64"}},
    {"TabAndSemicolonAreNotSeparators", L"1\t2;3", {L"1\t2;3"}},
    {"MoreThanFourWordsAreKept", L"1,2,3,4,5", {L"1", L"2", L"3", L"4", L"5"}},
    {"SingleWord", L"abc", {L"abc"}},
    {"Empty", L"", {}},
    {"SeparatorsOnly", L", ,", {}},
};

INSTANTIATE_TEST_SUITE_P(Texts, PositionWordsRule, testing::ValuesIn(kWordsCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
