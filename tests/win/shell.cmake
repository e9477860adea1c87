# The window base and the modal loop against the real platform.
add_executable(shell_win_tests shell_window_test.cpp)
set_target_properties(shell_win_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LINTAVO_TEST_OUTPUT_DIRECTORY})
target_link_libraries(shell_win_tests PRIVATE lintavo_ui_shell gtest_main)
lintavo_wine_test(NAME ui.window_base TARGET shell_win_tests)
