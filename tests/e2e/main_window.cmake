lintavo_e2e_tests(e2e_main_window_tests main_window_test.cpp)
target_link_libraries(e2e_main_window_tests PRIVATE lintavo_version)
lintavo_wine_test(NAME e2e.main_window TARGET e2e_main_window_tests FILTER MainWindow.* PORTS 2)
lintavo_wine_test(NAME e2e.main_window.no_companions TARGET e2e_main_window_tests
                  FILTER NoCompanions.* PORTS 2)
lintavo_wine_test(NAME e2e.main_window.copies TARGET e2e_main_window_tests FILTER Copies.*
                  PORTS 2)
