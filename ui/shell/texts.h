// Every user-visible Russian text of the program, by name. The companion bridges keep
// theirs in services/service_texts.h, included here.
#pragma once

#include "services/service_texts.h"

inline constexpr wchar_t kApplicationTitle[] = L"Драйвер контрольного считывателя";

// Message dialog captions, one per kind (Custom shows the application title instead).
inline constexpr wchar_t kCaptionWarning[] = L"Предупреждение";
inline constexpr wchar_t kCaptionError[] = L"Ошибка";
inline constexpr wchar_t kCaptionInformation[] = L"Информация";
inline constexpr wchar_t kCaptionConfirmation[] = L"Подтвердите";
inline constexpr wchar_t kCaptionExit[] = L"Завершение работы";

// Message dialog buttons, in the order of their bits.
inline constexpr wchar_t kButtonYes[] = L"Да";
inline constexpr wchar_t kButtonNo[] = L"Нет";
inline constexpr wchar_t kButtonOK[] = L"Ввод";
inline constexpr wchar_t kButtonCancel[] = L"Отмена";
inline constexpr wchar_t kButtonAbort[] = L"Прервать";
inline constexpr wchar_t kButtonRetry[] = L"Повторить";
inline constexpr wchar_t kButtonIgnore[] = L"Игнорировать";
inline constexpr wchar_t kButtonAll[] = L"Все";
inline constexpr wchar_t kButtonNoToAll[] = L"Нет для всех";
inline constexpr wchar_t kButtonYesToAll[] = L"Да для всех";
inline constexpr wchar_t kButtonHelp[] = L"Помощь";

// ---- Setup dialog ("Установки") --------------------------------------------------------
inline constexpr wchar_t kSetupCaption[] = L"Установки";
inline constexpr wchar_t kSetupOkButton[] = L"&Ввод";
inline constexpr wchar_t kSetupCancelButton[] = L"&Отмена";
inline constexpr wchar_t kSetupHelpButton[] = L"&Помощь";
inline constexpr wchar_t kSetupViewPage[] = L"Вид";
inline constexpr wchar_t kSetupReaderPage[] = L"Считыватель";
inline constexpr wchar_t kSetupMinimizeOnRun[] = L"Минимизировать после запуска";
inline constexpr wchar_t kSetupCheckExit[] = L"Задавать вопрос на выходе из программы";
inline constexpr wchar_t kSetupRunOnlyOneCopy[] = L"Запускать только одну копию программы";
inline constexpr wchar_t kSetupReaderTypeLabel[] = L"Тип считывателя:";
inline constexpr wchar_t kSetupReaderType26[] = L"26 bit";
inline constexpr wchar_t kSetupReaderType40[] = L"40/42 bit";
inline constexpr wchar_t kSetupOutputPage[] = L"Вывод";
inline constexpr wchar_t kSetupFormatLabel[] = L"Формат номера:";
inline constexpr wchar_t kSetupSuffixLabel[] = L"После номера:";
// The drop-downs' items, in the order of the values they stand for (section "OUTPUT").
inline constexpr const wchar_t* kSetupFormatItems[] = {L"Десятичный", L"Серия,номер (052,22136)",
                                                       L"Шестнадцатеричный"};
inline constexpr const wchar_t* kSetupSuffixItems[] = {L"Нет", L"Enter", L"Tab"};
inline constexpr wchar_t kSetupNoCaretTyping[] =
    L"Вводить номер и в окна без текстового курсора";
inline constexpr wchar_t kSetupPortGroup[] = L" Порт для подключения оборудования ";
// A port row: "COM " and the number, then " - " and one of these, each translated whole.
inline constexpr wchar_t kSetupPortRowPrefix[] = L"COM ";
inline constexpr wchar_t kSetupPortRowSeparator[] = L" - ";
inline constexpr wchar_t kSetupPortHeldOpen[] = L"занят сервером, норма";
inline constexpr wchar_t kSetupPortHeldFailed[] = L"занят сервером, ошибка";
inline constexpr wchar_t kSetupPortUnavailable[] = L"порт занят или отсутствует";
inline constexpr wchar_t kSetupCannotShow[] = L"Не могу показать диалог!";

// The notification-area menu.
inline constexpr wchar_t kTrayShowServer[] = L"Драйвер КС";
inline constexpr wchar_t kTraySetup[] = L"Установки ...";
inline constexpr wchar_t kTrayJournal[] = L"Журнал карт";
inline constexpr wchar_t kTrayHelp[] = L"Помощь";
inline constexpr wchar_t kTrayExit[] = L"Выход";
inline constexpr wchar_t kTrayBandText[] = L"   Тессарин";  // the blanks lift the word off the bottom
inline constexpr wchar_t kUnknownError[] = L"Неизвестная ошибка";

// The main window.
inline constexpr wchar_t kReaderTypeCaption[] = L"Тип считывателя:";
inline constexpr wchar_t kComPortCaption[] = L"Коммуникационный порт:";
inline constexpr wchar_t kSetupSpeedItemCaption[] = L"Установки";
inline constexpr wchar_t kSetupSpeedItemHint[] = L"Настройка программы";
inline constexpr wchar_t kHelpSpeedItemCaption[] = L"Справка";
inline constexpr wchar_t kHelpSpeedItemHint[] = L"Вызов помощи";
inline constexpr wchar_t kExitSpeedItemCaption[] = L"Выход";
inline constexpr wchar_t kExitSpeedItemHint[] = L"Завершение работы программы";
inline constexpr wchar_t kQuestionExit[] = L"Завершить работу программы?";

// The balloon for a card that was not typed: the number, then why (journal/journal_texts.h),
// in lines short enough for any notification area.
inline constexpr wchar_t kNotTypedNumber[] = L"Номер карты не введён: ";
// The main window's notice line, at the start after the session ended with a failed save;
// the system's reason follows on the next line.
inline constexpr wchar_t kSettingsNotSaved[] = L"Настройки не сохранены при завершении сеанса:";

// Start-up: the second line of the notice shown when another copy is running.
inline constexpr wchar_t kAlreadyRunning[] = L"уже запущен на Вашем компьютере!";
