#include "services/trint.h"

#include <optional>
#include <stdexcept>

#include "services/cp1251.h"

namespace {

std::optional<TTranslationProvider> Provider;

std::wstring CopyProviderText(const char* text) {
  return text ? Cp1251ToWide(text) : std::wstring();
}

// A provider that answers a text with nothing has failed to translate it.
std::optional<std::wstring> AskProvider(const std::wstring& text, std::int32_t context) {
  const std::string narrow = WideToCp1251(text);
  const char* translated = Provider->Translate(narrow.c_str(), context);
  if (!translated) return std::nullopt;
  return Cp1251ToWide(translated);
}

std::wstring TranslateOrThrow(const std::wstring& text) {
  std::optional<std::wstring> translated = AskProvider(text, 0);
  if (!translated) throw std::runtime_error("translation provider failed");
  return *translated;
}

bool NativeLanguage() { return GetLanguage() == kNativeLanguage; }

int PassForm(TTranslatableForm& form) {
  try {
    for (std::size_t i = 0; i < form.TextCount(); ++i) {
      form.SetText(i, TranslateOrThrow(form.Text(i)));
    }
  } catch (...) {
    return TranslateInterrupted;
  }
  return TranslateDone;
}

}  // namespace

bool ProviderBound() { return Provider.has_value(); }

bool BindTranslationProvider(const TTranslationProvider& provider) {
  if (!provider.SetLanguage || !provider.GetLanguage || !provider.GetDictionaryCount ||
      !provider.GetDictionary || !provider.Translate || !provider.FinishTranslation) {
    return false;
  }
  Provider = provider;
  return true;
}

void UnbindTranslationProvider() { Provider.reset(); }

std::wstring Translate(const std::wstring& text, std::int32_t context) {
  if (!ProviderBound()) return text;
  return AskProvider(text, context).value_or(text);
}

int TranslateForm(TTranslatableForm& form, bool finish) {
  if (!ProviderBound()) return TranslateUnbound;
  if (NativeLanguage()) return TranslateDone;
  const int result = PassForm(form);
  if (finish) FinishTranslation();
  return result;
}

int TranslateAllForms(TTranslatableScreen& screen, bool finish) {
  if (!ProviderBound()) return TranslateUnbound;
  if (NativeLanguage()) return TranslateDone;
  try {
    screen.SetTitle(TranslateOrThrow(screen.Title()));
    for (std::size_t i = 0; i < screen.FormCount(); ++i) PassForm(screen.Form(i));
  } catch (...) {
    return TranslateInterrupted;
  }
  if (finish) FinishTranslation();
  return TranslateDone;
}

std::wstring GetLanguage() {
  if (!ProviderBound()) return kNativeLanguage;
  const char* code = Provider->GetLanguage();
  return code ? Cp1251ToWide(code) : std::wstring(kNativeLanguage);
}

int SetLanguage(const std::wstring& code) {
  if (!ProviderBound()) return TranslateUnbound;
  return Provider->SetLanguage(WideToCp1251(code).c_str());
}

int GetDictionaryCount(std::int32_t& count) {
  if (!ProviderBound()) return TranslateUnbound;
  return Provider->GetDictionaryCount(&count);
}

int GetDictionary(std::int32_t index, std::wstring& code, std::wstring& name) {
  if (!ProviderBound()) return TranslateUnbound;
  const char* providerCode = nullptr;
  const char* providerName = nullptr;
  const int result = Provider->GetDictionary(index, &providerCode, &providerName);
  if (result == 0) {
    code = CopyProviderText(providerCode);
    name = CopyProviderText(providerName);
  }
  return result;
}

int FinishTranslation() {
  if (!ProviderBound()) return TranslateUnbound;
  return Provider->FinishTranslation();
}
