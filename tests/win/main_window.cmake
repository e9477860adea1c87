# The main window's toolbar against the real platform.
add_executable(main_window_win_tests toolbar_win_test.cpp)
set_target_properties(main_window_win_tests PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${LINTAVO_TEST_OUTPUT_DIRECTORY})
target_link_libraries(main_window_win_tests PRIVATE lintavo_ui_main_window lintavo_test_support
                      gtest_main)
lintavo_wine_test(NAME ui.toolbar TARGET main_window_win_tests)
