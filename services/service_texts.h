// The Russian texts shown by the companion bridges. Kept below ui/ so the bridges need
// nothing from the windows above them; ui/texts.h includes this file, so every text of the
// program is still found from one place.
#pragma once

inline constexpr wchar_t kHelpCaption[] = L"Помощь";
inline constexpr wchar_t kHelpInitError[] = L"Ошибка инициализации подсистемы помощи!";
inline constexpr wchar_t kHelpLibraryMissing[] =
    L"Библиотека для работы с документацией/помощью (qvm_help.dll)\rне загружена!";

inline constexpr wchar_t kAboutErrorCaption[] = L"Ошибка";
inline constexpr wchar_t kAboutLoadFailed[] = L"Не удалось загрузить библиотеку ";
inline constexpr wchar_t kAboutFunctionPrefix[] = L"Функция ";
inline constexpr wchar_t kAboutInLibrary[] = L" в библиотеке ";
inline constexpr wchar_t kAboutNotFound[] = L" не найдена";
