# The Linux edition's .deb, made by CPack (cpack in build/linux): the program, its help
# text, its icon in the hicolor sizes drawn by the picture scripts, and the menu entry. The
# autostart entry is the operator's, written by the setup dialog.
set(LINTAVO_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
add_custom_command(
  OUTPUT ${LINTAVO_ICON_DIR}/48x48/apps/lintavo.png
  COMMAND python3 ${CMAKE_SOURCE_DIR}/ui/pictures/linux_icons.py ${LINTAVO_ICON_DIR}
  DEPENDS ${CMAKE_SOURCE_DIR}/ui/pictures/linux_icons.py ${CMAKE_SOURCE_DIR}/ui/pictures/tray_pictures.py
          ${CMAKE_SOURCE_DIR}/ui/pictures/pixmap.py
  COMMENT "Drawing the desktop icons")
add_custom_target(lintavo_icons ALL DEPENDS ${LINTAVO_ICON_DIR}/48x48/apps/lintavo.png)

install(TARGETS lintavo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/qt/DOC/Lintavo.crf DESTINATION ${CMAKE_INSTALL_DATADIR}/lintavo/DOC)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/lintavo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${LINTAVO_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lintavo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Lintavo <lintavo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Control reader driver: types proximity-card numbers into any program")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Драйвер контрольного считывателя.\n Reads card frames from a serial proximity-card reader and types the card\n number into the focused window of any X11 program.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6widgets6, qt6-qpa-plugins, libxdo3, libx11-6")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
include(CPack)
