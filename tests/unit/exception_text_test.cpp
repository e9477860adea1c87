#include "ui/shell/exception_text.h"

#include <gtest/gtest.h>

namespace {

struct ReportCase {
  const char* name;
  std::wstring text;
  std::wstring shown;
};

class ExceptionReportTextTest : public testing::TestWithParam<ReportCase> {};

TEST_P(ExceptionReportTextTest, ClosesTheSentenceOnlyWhenNeeded) {
  EXPECT_EQ(ExceptionReportText(GetParam().text), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ExceptionReportTextTest,
    testing::Values(ReportCase{"LetterGetsAFullStop", L"Unable to write", L"Unable to write."},
                    ReportCase{"CyrillicLetterGetsAFullStop", L"Ошибка", L"Ошибка."},
                    ReportCase{"FullStopIsKept", L"Done.", L"Done."},
                    ReportCase{"ExclamationSortsBeforeTheStop", L"Стоп!", L"Стоп!"},
                    ReportCase{"CommaSortsBeforeTheStop", L"a,", L"a,"},
                    ReportCase{"SlashSortsAfterTheStop", L"C:/", L"C:/."},
                    ReportCase{"DigitSortsAfterTheStop", L"code 5", L"code 5."},
                    ReportCase{"EmptyStaysEmpty", L"", L""}),
    [](const testing::TestParamInfo<ReportCase>& info) { return info.param.name; });

}  // namespace
