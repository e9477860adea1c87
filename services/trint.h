// The localization hook: the one seam through which composed texts and finished windows are
// offered to a translation provider. Nothing in the program binds a provider, so every
// operation normally takes its unbound path; the bound paths serve a provider bound later.
// GUI thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#if defined(_WIN32) && defined(__i386__)
#define LINTAVO_PROVIDER_CALL __stdcall
#else
#define LINTAVO_PROVIDER_CALL
#endif

// The provider's six entry points. Texts cross as NUL-terminated code page 1251 strings that
// stay the provider's: the hook copies them at once and never frees them.
struct TTranslationProvider {
  std::int32_t(LINTAVO_PROVIDER_CALL* SetLanguage)(const char* code) = nullptr;
  const char*(LINTAVO_PROVIDER_CALL* GetLanguage)() = nullptr;
  std::int32_t(LINTAVO_PROVIDER_CALL* GetDictionaryCount)(std::int32_t* count) = nullptr;
  std::int32_t(LINTAVO_PROVIDER_CALL* GetDictionary)(std::int32_t index, const char** code,
                                                     const char** name) = nullptr;
  const char*(LINTAVO_PROVIDER_CALL* Translate)(const char* text, std::int32_t context) = nullptr;
  std::int32_t(LINTAVO_PROVIDER_CALL* FinishTranslation)() = nullptr;
};

enum TranslateResult : int {
  TranslateDone = 0,         // also: nothing to do
  TranslateInterrupted = 1,  // an error stopped a window pass
  TranslateUnbound = 2,      // no provider
};

inline constexpr wchar_t kNativeLanguage[] = L"RUS";

// A window as a pass sees it: text 0 is its caption, the rest are the texts of what it owns
// in ownership order. Accessors may throw; a pass treats that as an error.
class TTranslatableForm {
 public:
  virtual ~TTranslatableForm() = default;
  virtual std::size_t TextCount() = 0;
  virtual std::wstring Text(std::size_t index) = 0;
  virtual void SetText(std::size_t index, const std::wstring& text) = 0;
};

// All open windows and the application's title.
class TTranslatableScreen {
 public:
  virtual ~TTranslatableScreen() = default;
  virtual std::wstring Title() = 0;
  virtual void SetTitle(const std::wstring& title) = 0;
  virtual std::size_t FormCount() = 0;
  virtual TTranslatableForm& Form(std::size_t index) = 0;
};

bool ProviderBound();
// A provider with an empty entry point is refused. Returns whether it was bound.
bool BindTranslationProvider(const TTranslationProvider& provider);
void UnbindTranslationProvider();

std::wstring Translate(const std::wstring& text, std::int32_t context);
int TranslateForm(TTranslatableForm& form, bool finish);
int TranslateAllForms(TTranslatableScreen& screen, bool finish);
std::wstring GetLanguage();
int SetLanguage(const std::wstring& code);
int GetDictionaryCount(std::int32_t& count);
int GetDictionary(std::int32_t index, std::wstring& code, std::wstring& name);
int FinishTranslation();
