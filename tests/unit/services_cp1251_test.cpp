#include "services/cp1251.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Cp1251, RussianTextRoundTrips) {
  const std::wstring text = L"Драйвер контрольного считывателя: Ёё №5 «ok» — €";
  EXPECT_EQ(Cp1251ToWide(WideToCp1251(text)), text);
}

TEST(Cp1251, KnownBytesOfTheCyrillicRange) {
  EXPECT_EQ(WideToCp1251(L"Аая"), std::string("\xC0\xE0\xFF"));
  EXPECT_EQ(WideToCp1251(L"Ёё№"), std::string("\xA8\xB8\xB9"));
  EXPECT_EQ(Cp1251ToWide("\x80\x88\x98"), std::wstring(L"\u0402\u20AC\u0098"));
}

TEST(Cp1251, EveryByteRoundTrips) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::wstring wide = Cp1251ToWide(all);
  ASSERT_EQ(wide.size(), all.size());
  EXPECT_EQ(WideToCp1251(wide), all);
}

TEST(Cp1251, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(WideToCp1251(L"a\u4E2Db\u00E9"), "a?b?");
}

TEST(Cp1251, ExactFormRefusesWhatTheCodePageLacks) {
  EXPECT_EQ(WideToCp1251Exact(L"C:\\Линтаво\\DOC"), std::string("C:\\\xCB\xE8\xED\xF2\xE0\xE2\xEE\\DOC"));
  EXPECT_EQ(WideToCp1251Exact(L""), std::string());
  // A question mark of the text itself is kept; one the code page would invent is refused.
  EXPECT_EQ(WideToCp1251Exact(L"?"), std::string("?"));
  EXPECT_EQ(WideToCp1251Exact(L"C:\\\u4E2D\\DOC"), std::nullopt);
  EXPECT_EQ(WideToCp1251Exact(L"\u00E9"), std::nullopt);
}

}  // namespace
