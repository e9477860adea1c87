#include "services/trint.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// A provider of the test's own: translates to English by a small table, brackets the
// rest, fails on "boom", and reuses one buffer so a hook that keeps its pointer is caught.
struct ProviderLog {
  std::string language = "ENG";
  bool languageFails = false;
  std::vector<std::string> translated;
  std::vector<std::int32_t> contexts;
  int finishCalls = 0;
  std::string lastSetLanguage;
  std::int32_t dictionaryResult = 0;
};
ProviderLog Log;
std::string Buffer;

const char* LINTAVO_PROVIDER_CALL TestTranslate(const char* text, std::int32_t context) {
  Log.translated.emplace_back(text);
  Log.contexts.push_back(context);
  if (std::strcmp(text, "boom") == 0) return nullptr;
  if (std::strcmp(text, "\xCE\xF8\xE8\xE1\xEA\xE0") == 0) {  // "Ошибка"
    Buffer = "Error";
  } else {
    Buffer = std::string("[") + text + "]";
  }
  return Buffer.c_str();
}
const char* LINTAVO_PROVIDER_CALL TestGetLanguage() {
  return Log.languageFails ? nullptr : Log.language.c_str();
}
std::int32_t LINTAVO_PROVIDER_CALL TestSetLanguage(const char* code) {
  Log.lastSetLanguage = code;
  return 7;
}
std::int32_t LINTAVO_PROVIDER_CALL TestGetDictionaryCount(std::int32_t* count) {
  *count = 3;
  return 0;
}
std::int32_t LINTAVO_PROVIDER_CALL TestGetDictionary(std::int32_t index, const char** code,
                                                     const char** name) {
  static std::string codeText, nameText;
  codeText = "D" + std::to_string(index);
  nameText = "\xD0\xF3\xF1\xF1\xEA\xE8\xE9";  // "Русский"
  *code = codeText.c_str();
  *name = nameText.c_str();
  return Log.dictionaryResult;
}
std::int32_t LINTAVO_PROVIDER_CALL TestFinish() {
  ++Log.finishCalls;
  return 0;
}

constexpr TTranslationProvider kTestProvider{TestSetLanguage,        TestGetLanguage,
                                             TestGetDictionaryCount, TestGetDictionary,
                                             TestTranslate,          TestFinish};

class FakeForm : public TTranslatableForm {
 public:
  explicit FakeForm(std::vector<std::wstring> texts) : texts_(std::move(texts)) {}
  std::size_t TextCount() override { return texts_.size(); }
  std::wstring Text(std::size_t i) override { return texts_.at(i); }
  void SetText(std::size_t i, const std::wstring& t) override {
    if (failWriteAt_ == i) throw std::runtime_error("window gone");
    texts_.at(i) = t;
  }
  std::vector<std::wstring> texts_;
  std::size_t failWriteAt_ = static_cast<std::size_t>(-1);
};

class FakeScreen : public TTranslatableScreen {
 public:
  std::wstring Title() override { return title_; }
  void SetTitle(const std::wstring& t) override { title_ = t; }
  std::size_t FormCount() override { return forms_.size(); }
  TTranslatableForm& Form(std::size_t i) override { return forms_.at(i); }
  std::wstring title_ = L"Драйвер контрольного считывателя";
  std::vector<FakeForm> forms_;
};

class TranslationHookUnbound : public testing::Test {
 protected:
  void SetUp() override {
    UnbindTranslationProvider();
    Log = {};
  }
};

TEST_F(TranslationHookUnbound, TextsComeBackUnchangedForAnyContext) {
  EXPECT_FALSE(ProviderBound());
  EXPECT_EQ(Translate(L"уже запущен на Вашем компьютере!", 0), L"уже запущен на Вашем компьютере!");
  EXPECT_EQ(Translate(L"Ошибка", -17), L"Ошибка");
  EXPECT_EQ(Translate(L"", 0), L"");
  EXPECT_TRUE(Log.translated.empty());
}

TEST_F(TranslationHookUnbound, WindowsAreNotTouched) {
  FakeForm form({L"Завершение работы", L"Да", L"Нет"});
  form.failWriteAt_ = 0;  // any write would throw and show in the result
  EXPECT_EQ(TranslateForm(form, false), TranslateUnbound);
  EXPECT_EQ(TranslateForm(form, true), TranslateUnbound);
  EXPECT_EQ(form.texts_, (std::vector<std::wstring>{L"Завершение работы", L"Да", L"Нет"}));
  EXPECT_EQ(Log.finishCalls, 0);

  FakeScreen screen;
  screen.forms_.push_back(form);
  EXPECT_EQ(TranslateAllForms(screen, true), TranslateUnbound);
  EXPECT_EQ(screen.title_, L"Драйвер контрольного считывателя");
}

TEST_F(TranslationHookUnbound, LanguageStaysRussian) {
  EXPECT_EQ(GetLanguage(), L"RUS");
  EXPECT_EQ(SetLanguage(L"ENG"), TranslateUnbound);
  EXPECT_EQ(GetLanguage(), L"RUS");
  EXPECT_EQ(FinishTranslation(), TranslateUnbound);
}

TEST_F(TranslationHookUnbound, DictionaryOutputsAreNotWritten) {
  std::int32_t count = 42;
  EXPECT_EQ(GetDictionaryCount(count), TranslateUnbound);
  EXPECT_EQ(count, 42);
  std::wstring code = L"keep", name = L"me";
  EXPECT_EQ(GetDictionary(0, code, name), TranslateUnbound);
  EXPECT_EQ(code, L"keep");
  EXPECT_EQ(name, L"me");
}

TEST_F(TranslationHookUnbound, AProviderWithAnEmptyEntryPointIsRefused) {
  TTranslationProvider partial = kTestProvider;
  partial.FinishTranslation = nullptr;
  EXPECT_FALSE(BindTranslationProvider(partial));
  EXPECT_FALSE(ProviderBound());
}

class TranslationHookBound : public TranslationHookUnbound {
 protected:
  void SetUp() override {
    TranslationHookUnbound::SetUp();
    ASSERT_TRUE(BindTranslationProvider(kTestProvider));
  }
  void TearDown() override { UnbindTranslationProvider(); }
};

TEST_F(TranslationHookBound, TextsAreCopiedFromTheProviderThroughCodePage1251) {
  const std::wstring first = Translate(L"Ошибка", 5);
  const std::wstring second = Translate(L"abc", 0);  // overwrites the provider's buffer
  EXPECT_EQ(first, L"Error");
  EXPECT_EQ(second, L"[abc]");
  ASSERT_EQ(Log.translated.size(), 2u);
  EXPECT_EQ(Log.translated[0], "\xCE\xF8\xE8\xE1\xEA\xE0");
  EXPECT_EQ(Log.contexts[0], 5);
}

TEST_F(TranslationHookBound, AFailedTranslationLeavesTheTextAsItWas) {
  EXPECT_EQ(Translate(L"boom", 0), L"boom");
}

TEST_F(TranslationHookBound, LanguageAndDictionariesComeFromTheProvider) {
  EXPECT_EQ(GetLanguage(), L"ENG");
  Log.languageFails = true;
  EXPECT_EQ(GetLanguage(), L"RUS");
  EXPECT_EQ(SetLanguage(L"РУС"), 7);
  EXPECT_EQ(Log.lastSetLanguage, "\xD0\xD3\xD1");
  std::int32_t count = 0;
  EXPECT_EQ(GetDictionaryCount(count), 0);
  EXPECT_EQ(count, 3);
  std::wstring code, name;
  EXPECT_EQ(GetDictionary(2, code, name), 0);
  EXPECT_EQ(code, L"D2");
  EXPECT_EQ(name, L"Русский");
}

TEST_F(TranslationHookBound, DictionaryOutputsAreWrittenOnlyOnSuccess) {
  Log.dictionaryResult = 1;
  std::wstring code = L"keep", name = L"me";
  EXPECT_EQ(GetDictionary(0, code, name), 1);
  EXPECT_EQ(code, L"keep");
  EXPECT_EQ(name, L"me");
}

TEST_F(TranslationHookBound, AWindowPassTranslatesCaptionThenOwnedTexts) {
  FakeForm form({L"Ошибка", L"a", L"b"});
  EXPECT_EQ(TranslateForm(form, false), TranslateDone);
  EXPECT_EQ(form.texts_, (std::vector<std::wstring>{L"Error", L"[a]", L"[b]"}));
  EXPECT_EQ(Log.contexts, (std::vector<std::int32_t>{0, 0, 0}));
  EXPECT_EQ(Log.finishCalls, 0);
  EXPECT_EQ(TranslateForm(form, true), TranslateDone);
  EXPECT_EQ(Log.finishCalls, 1);
}

TEST_F(TranslationHookBound, RussianAsCurrentLanguageLeavesWindowsAlone) {
  Log.language = "RUS";
  FakeForm form({L"Ошибка"});
  EXPECT_EQ(TranslateForm(form, true), TranslateDone);
  EXPECT_EQ(form.texts_[0], L"Ошибка");
  EXPECT_TRUE(Log.translated.empty());
  EXPECT_EQ(Log.finishCalls, 0);
}

TEST_F(TranslationHookBound, AnErrorStopsThePassAndKeepsWhatWasWritten) {
  FakeForm form({L"a", L"boom", L"c"});
  EXPECT_EQ(TranslateForm(form, true), TranslateInterrupted);
  EXPECT_EQ(form.texts_, (std::vector<std::wstring>{L"[a]", L"boom", L"c"}));
  EXPECT_EQ(Log.finishCalls, 1);

  FakeForm dying({L"a", L"b", L"c"});
  dying.failWriteAt_ = 1;
  EXPECT_EQ(TranslateForm(dying, false), TranslateInterrupted);
  EXPECT_EQ(dying.texts_, (std::vector<std::wstring>{L"[a]", L"b", L"c"}));
}

TEST_F(TranslationHookBound, AllFormsGoOnPastAFailingWindow) {
  FakeScreen screen;
  screen.forms_ = {FakeForm({L"boom", L"x"}), FakeForm({L"y"})};
  EXPECT_EQ(TranslateAllForms(screen, true), TranslateDone);
  EXPECT_EQ(screen.title_, L"[Драйвер контрольного считывателя]");
  EXPECT_EQ(screen.forms_[0].texts_, (std::vector<std::wstring>{L"boom", L"x"}));
  EXPECT_EQ(screen.forms_[1].texts_, (std::vector<std::wstring>{L"[y]"}));
  EXPECT_EQ(Log.finishCalls, 1);
}

TEST_F(TranslationHookBound, AFailingTitleStopsTheScreenPass) {
  FakeScreen screen;
  screen.title_ = L"boom";
  screen.forms_ = {FakeForm({L"y"})};
  EXPECT_EQ(TranslateAllForms(screen, true), TranslateInterrupted);
  EXPECT_EQ(screen.forms_[0].texts_[0], L"y");
  EXPECT_EQ(Log.finishCalls, 0);
}

}  // namespace
