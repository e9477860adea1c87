# The notification-area icon, its drawn menu and pictures against the real platform.
add_executable(tray_win_tests tray_icon_win_test.cpp tray_menu_win_test.cpp tray_test.rc)
set_target_properties(tray_win_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LINTAVO_TEST_OUTPUT_DIRECTORY})
target_link_libraries(tray_win_tests PRIVATE lintavo_ui_tray lintavo_test_support gtest_main)
lintavo_use_pictures(tray_win_tests ${CMAKE_CURRENT_LIST_DIR}/tray_test.rc)
lintavo_wine_test(NAME tray.icon TARGET tray_win_tests FILTER "TrayIcon*")
lintavo_wine_test(NAME tray.menu TARGET tray_win_tests
                  FILTER "TrayPictures*:PicClip*:FillGradient*:MakeRotatedFont*:TrayMenuDrawing*:DrawnPopupMenu*")
