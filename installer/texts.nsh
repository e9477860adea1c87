; Every Russian text of the installer and the uninstaller beyond the Modern UI's own.
!define PRODUCT_NAME "${LINTAVO_PRODUCT_NAME}"
!define PUBLISHER "Тессарин"

LangString StartPageTitle ${LANG_RUSSIAN} "Запуск программы"
LangString StartPageSubtitle ${LANG_RUSSIAN} "Когда запускать драйвер контрольного считывателя."
LangString RunAtLogonBox ${LANG_RUSSIAN} "Запускать при входе в систему"
LangString RunAtLogonNote ${LANG_RUSSIAN} "Драйвер будет запускаться сам, когда вы входите в Windows, и сразу будет готов ввести номер поднесённой карты."

LangString ProgramRunning ${LANG_RUSSIAN} "Программа «${PRODUCT_NAME}» ещё работает, и её файлы нельзя заменить. Закройте её (меню «Файл» — «Выход») и повторите попытку или отмените, чтобы прервать работу мастера."
LangString ProgramNotClosed ${LANG_RUSSIAN} "Программа «${PRODUCT_NAME}» не закрылась, файлы в «$INSTDIR» не изменены."
LangString FolderFailed ${LANG_RUSSIAN} "Не удалось создать папку «$INSTDIR». Ничего не установлено; выберите другую папку."

LangString KeepSettings ${LANG_RUSSIAN} "Сохранить настройки программы (файл Lintavo.ini) для следующей установки?"

LangString SetupDescription ${LANG_RUSSIAN} "Установка: ${PRODUCT_NAME}"
