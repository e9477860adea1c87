// The Russian texts only the Linux edition shows; everything it shares with the Windows
// program comes from ui/shell/texts.h.
#pragma once

// Why no card number is typed, in the status and the tray icon's tip.
inline constexpr wchar_t kTypingWayland[] = L"Сеанс Wayland: номера карт не вводятся";
inline constexpr wchar_t kTypingNoDisplay[] = L"Нет дисплея X11: номера карт не вводятся";
// What to do about it, on the line below.
inline constexpr wchar_t kTypingWaylandRemedy[] =
    L"Выберите при входе в систему сеанс Xorg (X11)";

// Why the port did not open when the user may not open it, and what to do, below the port.
inline constexpr wchar_t kPortDenied[] = L"Нет прав на порт: пользователь не в группе dialout";
inline constexpr wchar_t kPortDeniedRemedy[] =
    L"Выполните sudo adduser $USER dialout и войдите в систему заново";

// The main window's menus and the toolbar's help drop-down (in the Windows program's
// resource script there).
inline constexpr wchar_t kMenuFile[] = L"&Файл";
inline constexpr wchar_t kMenuFileJournal[] = L"Журнал карт";
inline constexpr wchar_t kMenuFileExit[] = L"Выход";
inline constexpr wchar_t kMenuSetup[] = L"&Установки";
inline constexpr wchar_t kMenuSetupView[] = L"Вид ...";
inline constexpr wchar_t kMenuSetupReader[] = L"Считыватель ...";
inline constexpr wchar_t kMenuSetupOutput[] = L"Вывод ...";
inline constexpr wchar_t kMenuHelp[] = L"&Справка";
inline constexpr wchar_t kMenuHelpMainWindow[] = L"Главное окно";
inline constexpr wchar_t kMenuHelpContents[] = L"Содержание справки";
inline constexpr wchar_t kMenuHelpAbout[] = L"О программе ...";

// The port when the settings name no device.
inline constexpr wchar_t kNoPortDevice[] = L"нет порта";

inline constexpr wchar_t kSetupAutostart[] = L"Запускать при входе в систему";
inline constexpr wchar_t kAutostartFailed[] = L"Не удалось изменить автозапуск программы";

// The help window and the about box, which the Windows program takes from its companion
// libraries.
inline constexpr wchar_t kHelpWindowTitle[] = L"Справка: Драйвер контрольного считывателя";
inline constexpr wchar_t kHelpTopicsLabel[] = L"Разделы";
inline constexpr wchar_t kHelpDocumentMissing[] = L"Файл справки Lintavo.crf не найден!";
inline constexpr wchar_t kAboutCaption[] = L"О программе";
inline constexpr wchar_t kAboutVersion[] = L"Версия ";
inline constexpr wchar_t kAboutDescription[] =
    L"Переводит номер карты, поднесённой к контрольному считывателю, в цифры и вводит их в "
    L"то окно любой программы, где сейчас стоит курсор. Работает в фоне, значок в области "
    L"уведомлений показывает, открыт ли последовательный порт.";
inline constexpr wchar_t kAboutClose[] = L"Закрыть";
