add_executable(core_win_tests core_settings_file_test.cpp core_single_copy_test.cpp
  core_unique_handle_test.cpp)
set_target_properties(core_win_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LINTAVO_TEST_OUTPUT_DIRECTORY})
target_link_libraries(core_win_tests PRIVATE lintavo_core lintavo_test_support gtest_main)
lintavo_wine_test(NAME core.settings_file TARGET core_win_tests FILTER "SettingsFile*:ProgramDirectory*:UniqueHandle*")
lintavo_wine_test(NAME core.single_copy TARGET core_win_tests FILTER "SingleCopy*")
