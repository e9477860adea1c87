# The program's pictures are drawn by scripts at build time into one folder, which resource
# scripts name their files from.
set(LINTAVO_PICTURES_DIR ${CMAKE_BINARY_DIR}/pictures CACHE INTERNAL "")

set(tray_picture_files tray_device.ico tray_green.ico tray_red.ico tray_menu_strip.bmp)
set(toolbar_picture_files glyph_setup.bmp glyph_help.bmp glyph_exit.bmp wallpaper.bmp)
list(TRANSFORM tray_picture_files PREPEND ${LINTAVO_PICTURES_DIR}/)
list(TRANSFORM toolbar_picture_files PREPEND ${LINTAVO_PICTURES_DIR}/)
set(LINTAVO_PICTURE_FILES ${tray_picture_files} ${toolbar_picture_files} CACHE INTERNAL "")

add_custom_command(
  OUTPUT ${tray_picture_files}
  COMMAND python3 ${CMAKE_CURRENT_LIST_DIR}/tray_pictures.py ${LINTAVO_PICTURES_DIR}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/tray_pictures.py ${CMAKE_CURRENT_LIST_DIR}/pixmap.py
  COMMENT "Drawing the tray pictures")
add_custom_command(
  OUTPUT ${toolbar_picture_files}
  COMMAND python3 ${CMAKE_CURRENT_LIST_DIR}/toolbar_pictures.py ${LINTAVO_PICTURES_DIR}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/toolbar_pictures.py ${CMAKE_CURRENT_LIST_DIR}/pixmap.py
  COMMENT "Drawing the toolbar pictures")
add_custom_target(lintavo_pictures DEPENDS ${LINTAVO_PICTURE_FILES})

# A target whose resource script includes the drawn pictures calls this with that script.
function(lintavo_use_pictures target rc_file)
  add_dependencies(${target} lintavo_pictures)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR} ${LINTAVO_PICTURES_DIR})
  set_property(SOURCE ${rc_file} APPEND PROPERTY OBJECT_DEPENDS ${LINTAVO_PICTURE_FILES})
endfunction()
