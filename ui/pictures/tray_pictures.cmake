# The notification-area pictures are drawn by a script at build time.
set(LINTAVO_TRAY_PICTURES_DIR ${CMAKE_BINARY_DIR}/pictures CACHE INTERNAL "")
set(tray_picture_files tray_device.ico tray_green.ico tray_red.ico tray_menu_strip.bmp)
list(TRANSFORM tray_picture_files PREPEND ${LINTAVO_TRAY_PICTURES_DIR}/)
set(LINTAVO_TRAY_PICTURE_FILES ${tray_picture_files} CACHE INTERNAL "")
add_custom_command(
  OUTPUT ${tray_picture_files}
  COMMAND python3 ${CMAKE_CURRENT_LIST_DIR}/tray_pictures.py ${LINTAVO_TRAY_PICTURES_DIR}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/tray_pictures.py ${CMAKE_CURRENT_LIST_DIR}/pixmap.py
  COMMENT "Drawing the tray pictures")
add_custom_target(tray_pictures DEPENDS ${tray_picture_files})

# A target whose resource script includes ui/tray_pictures.rc calls this with that script.
function(lintavo_use_tray_pictures target rc_file)
  add_dependencies(${target} tray_pictures)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR} ${LINTAVO_TRAY_PICTURES_DIR})
  set_property(SOURCE ${rc_file} APPEND PROPERTY OBJECT_DEPENDS ${LINTAVO_TRAY_PICTURE_FILES})
endfunction()
