add_executable(setup_win_tests setup_dialog_test.cpp)
set_target_properties(setup_win_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LINTAVO_TEST_OUTPUT_DIRECTORY})
target_link_libraries(setup_win_tests PRIVATE lintavo_ui_setup lintavo_test_support gtest_main)
# COM1 free, COM2 the program's port, COM3 absent.
lintavo_wine_test(NAME setup.dialog TARGET setup_win_tests FILTER "SetupDialog*:*SetupCancel*:*SetupPage*"
                  PORTS 1 2 3:none)
# COM2 there but refusing to open: the program's port failed.
lintavo_wine_test(NAME setup.failed_port TARGET setup_win_tests FILTER "SetupFailedPort*"
                  PORTS 1 2:dangling 3:none)
