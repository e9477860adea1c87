# The program's look against the real platform: what Lintavo.exe carries (its manifest, its
# icons at every size), the Cyrillic character set of every font its windows show, each
# window laid out again when its DPI changes, and the dialogs inside the work area. The test program carries the product's own
# resources, manifest included, so its windows are the program's: themed, DPI-aware.
add_executable(look_win_tests look_resources_test.cpp look_fonts_test.cpp look_dpi_test.cpp
                              look_place_test.cpp look_test.rc)
set_target_properties(look_win_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LINTAVO_TEST_OUTPUT_DIRECTORY})
target_link_libraries(look_win_tests PRIVATE lintavo_ui_main_window lintavo_test_support gtest_main)
target_include_directories(look_win_tests PRIVATE ${CMAKE_BINARY_DIR}/app)
lintavo_use_pictures(look_win_tests ${CMAKE_CURRENT_LIST_DIR}/look_test.rc)
lintavo_use_version(look_win_tests ${CMAKE_CURRENT_LIST_DIR}/look_test.rc
                    ${CMAKE_SOURCE_DIR}/app/lintavo.rc ${CMAKE_BINARY_DIR}/app/lintavo.manifest)
add_dependencies(look_win_tests Lintavo about qvm_help help_document)
lintavo_wine_test(NAME look.resources TARGET look_win_tests FILTER "LintavoResources*")
# COM2, the default port, absent: the main window is built with its port failed.
lintavo_wine_test(NAME look.windows TARGET look_win_tests
                  FILTER "CyrillicFonts*:DpiChange*:ThemedPage*:WorkArea*" PORTS 2:none)
