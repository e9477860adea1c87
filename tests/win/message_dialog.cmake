# The message dialog and the application object under Wine: real dialogs, driven and closed
# from another thread or another process.
add_executable(message_dialog_finder message_dialog_finder.cpp)
set_target_properties(message_dialog_finder PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LINTAVO_TEST_OUTPUT_DIRECTORY})
target_link_libraries(message_dialog_finder PRIVATE lintavo_test_support)
lintavo_unicode_entry(message_dialog_finder)

add_executable(message_dialog_win_tests message_dialog_test.cpp)
set_target_properties(message_dialog_win_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LINTAVO_TEST_OUTPUT_DIRECTORY})
target_link_libraries(message_dialog_win_tests PRIVATE lintavo_ui_dialogs lintavo_test_support gtest_main)
add_dependencies(message_dialog_win_tests message_dialog_finder)
lintavo_wine_test(NAME message_dialog.keys TARGET message_dialog_win_tests FILTER "*/MessageDialogKeys.*")
lintavo_wine_test(NAME message_dialog.form TARGET message_dialog_win_tests
  FILTER "MessageDialogForm*:*/MessageDialogKinds.*:MessageDialogModal*:ApplicationObject*")
