lintavo_e2e_tests(e2e_main_window_tests main_window_test.cpp)

# For looking at the program by hand: pokes its windows from outside (see look.sh).
add_executable(lintavo_poke lintavo_poke.cpp)
set_target_properties(lintavo_poke PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LINTAVO_TEST_OUTPUT_DIRECTORY})
target_include_directories(lintavo_poke PRIVATE ${CMAKE_SOURCE_DIR})
lintavo_unicode_entry(lintavo_poke)

set(main_window_start "*FreePortStart*:PortColour.*:SingleCopy.*")
lintavo_wine_test(NAME e2e.main_window.start TARGET e2e_main_window_tests
                  FILTER ${main_window_start} PORTS 2 TIMEOUT 240)
lintavo_wine_test(NAME e2e.main_window.port_absent TARGET e2e_main_window_tests
                  FILTER PortFailed.* PORTS 2:none)
lintavo_wine_test(NAME e2e.main_window.port_dangling TARGET e2e_main_window_tests
                  FILTER PortFailed.* PORTS 2:dangling)
lintavo_wine_test(NAME e2e.main_window.no_reader TARGET e2e_main_window_tests
                  FILTER PortFailedBesideOpen.* PORTS 2:dangling 3)
lintavo_wine_test(NAME e2e.main_window.exit TARGET e2e_main_window_tests
                  FILTER Exit.*:*ExitWithoutQuestion* PORTS 2 TIMEOUT 240)
lintavo_wine_test(NAME e2e.main_window.help TARGET e2e_main_window_tests
                  FILTER *HelpAndAbout*:*CompanionsMissing* PORTS 2 TIMEOUT 240)
lintavo_wine_test(NAME e2e.main_window.size TARGET e2e_main_window_tests
                  FILTER Size.*:*WidenedToolBar* PORTS 2 TIMEOUT 240)
