// The Russian texts of the card journal, shared by both editions.
#pragma once

inline constexpr wchar_t kJournalTitle[] = L"Журнал карт";
inline constexpr wchar_t kJournalColumnTime[] = L"Время";
inline constexpr wchar_t kJournalColumnNumber[] = L"Номер";
inline constexpr wchar_t kJournalColumnWhere[] = L"Куда";
inline constexpr wchar_t kJournalColumnOutcome[] = L"Итог";
// The file's columns: «Куда» is split in two there, for sorting by program.
inline constexpr wchar_t kJournalFileColumnWindow[] = L"Окно";
inline constexpr wchar_t kJournalFileColumnProgram[] = L"Программа";
inline constexpr wchar_t kJournalTyped[] = L"введён";
inline constexpr wchar_t kJournalNotTyped[] = L"не введён: ";
inline constexpr wchar_t kJournalNoWindow[] = L"нет окна";
inline constexpr wchar_t kJournalCopyNumber[] = L"Копировать номер";

// The setup dialog's page.
inline constexpr wchar_t kJournalPage[] = L"Журнал";
inline constexpr wchar_t kJournalToFile[] = L"Сохранять журнал в файл";
inline constexpr wchar_t kJournalKeepDays[] = L"Хранить, дней";
inline constexpr wchar_t kJournalOpenFolder[] = L"Открыть папку";

// The main window's red line when a file write failed; the file follows.
inline constexpr wchar_t kJournalWriteFailed[] =
    L"Журнал не записан в файл, карты видны только в окне «Журнал карт»:";

// Why a card was not typed, as the balloon and the journal tell it.
inline constexpr wchar_t kNotTypedNoWindow[] = L"Нет активного окна для ввода номера.";
inline constexpr wchar_t kNotTypedOwnWindow[] =
    L"Активно окно самого драйвера,\nв его окна номер не вводится.";
inline constexpr wchar_t kNotTypedNoCaret[] =
    L"В активном окне нет текстового курсора.\nВвод без курсора можно включить\n"
    L"в установках, страница «Вывод».";
inline constexpr wchar_t kNotTypedElevated[] =
    L"Активная программа запущена от имени\nадминистратора, Windows не даёт вводить в неё.";
inline constexpr wchar_t kNotTypedRefused[] = L"Активная программа не приняла номер целиком.";
inline constexpr wchar_t kNotTypedNoSession[] =
    L"Сеанс рабочего стола не даёт вводить\nв другие программы.";
