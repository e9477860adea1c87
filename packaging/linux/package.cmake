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

# What Debian asks of a package: the copyright, the changelog and the manual page, the
# last two compressed as dh would.
set(LINTAVO_DOC_DIR ${CMAKE_BINARY_DIR}/packaging)
foreach(page changelog lintavo.1)
  add_custom_command(
    OUTPUT ${LINTAVO_DOC_DIR}/${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${LINTAVO_DOC_DIR}
    COMMAND gzip -9nc ${CMAKE_CURRENT_LIST_DIR}/${page} > ${LINTAVO_DOC_DIR}/${page}.gz
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/${page}
    COMMENT "Compressing ${page}")
endforeach()
add_custom_target(lintavo_package_docs ALL DEPENDS ${LINTAVO_DOC_DIR}/changelog.gz ${LINTAVO_DOC_DIR}/lintavo.1.gz)

install(TARGETS lintavo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${LINTAVO_DOC_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lintavo)
install(FILES ${LINTAVO_DOC_DIR}/lintavo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/qt/DOC/Lintavo.crf DESTINATION ${CMAKE_INSTALL_DATADIR}/lintavo/DOC)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/lintavo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${LINTAVO_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lintavo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Seed 5723a1cb maintainers <maintainers@users.noreply.c-seed-5723a1cb.example>")
# CPack indents the lines after the first.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[control reader driver: types proximity-card numbers into any program
Lintavo (Драйвер контрольного считывателя) reads the card frames of a
proximity-card reader wired to a serial port and types each card's number
into the window that has the keyboard focus, under an X11 desktop. It lives
in the notification area and speaks Russian.]=])
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The libraries it links come from dpkg-shlibdeps; Qt's Russian texts are loaded, not linked,
# and the desktop's look comes through the GTK theme plugin where there is one.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-gtk-platformtheme")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
include(CPack)
