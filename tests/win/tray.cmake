# The notification-area icon, its drawn menu and pictures against the real platform.
add_executable(tray_win_tests tray_icon_win_test.cpp tray_menu_win_test.cpp tray_test.rc)
set_target_properties(tray_win_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LINTAVO_TEST_OUTPUT_DIRECTORY})
target_link_libraries(tray_win_tests PRIVATE lintavo_ui_tray lintavo_test_support gtest_main)
lintavo_use_pictures(tray_win_tests ${CMAKE_CURRENT_LIST_DIR}/tray_test.rc)
lintavo_wine_test(NAME tray.icon TARGET tray_win_tests FILTER "TrayIcon*")
lintavo_wine_test(NAME tray.menu TARGET tray_win_tests
                  FILTER "TrayPictures*:PicClip*:FillGradient*:MakeRotatedFont*:TrayMenuDrawing*:DrawnPopupMenu*")

# The demo carries the components as the main window does, for driving from outside.
add_executable(tray_demo WIN32 tray_demo.cpp tray_test.rc)
set_target_properties(tray_demo PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LINTAVO_TEST_OUTPUT_DIRECTORY})
target_link_libraries(tray_demo PRIVATE lintavo_ui_tray)
lintavo_unicode_entry(tray_demo)
lintavo_use_pictures(tray_demo ${CMAKE_CURRENT_LIST_DIR}/tray_test.rc)

add_executable(tray_demo_tests tray_demo_drive_test.cpp tray_demo_process.cpp)
set_target_properties(tray_demo_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LINTAVO_TEST_OUTPUT_DIRECTORY})
target_link_libraries(tray_demo_tests PRIVATE lintavo_ui_tray lintavo_test_support gtest_main)
add_dependencies(tray_demo_tests tray_demo)
lintavo_wine_test(NAME tray.demo TARGET tray_demo_tests TIMEOUT 180)

# For looking at the menu by hand: pokes the icon from outside (see tray_poke.cpp).
add_executable(tray_poke tray_poke.cpp)
set_target_properties(tray_poke PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LINTAVO_TEST_OUTPUT_DIRECTORY})
target_link_libraries(tray_poke PRIVATE lintavo_ui_tray)
lintavo_unicode_entry(tray_poke)
