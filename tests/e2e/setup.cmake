add_executable(e2e_setup_tests setup_test.cpp)
set_target_properties(e2e_setup_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LINTAVO_TEST_OUTPUT_DIRECTORY})
target_include_directories(e2e_setup_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(e2e_setup_tests PRIVATE gtest_main)
add_dependencies(e2e_setup_tests Lintavo about qvm_help cardsim)
# COM1 free, COM2 the program's port, COM3 absent.
lintavo_wine_test(NAME e2e.setup.dialog TARGET e2e_setup_tests FILTER "SetupE2E.*:*/SetupE2ECancel.*"
                  PORTS 1 2 3:none TIMEOUT 300)
lintavo_wine_test(NAME e2e.setup.output_page TARGET e2e_setup_tests FILTER "SetupOutputPage.*"
                  PORTS 1 2 3:none TIMEOUT 180)
# COM2 there but refusing to open: the program's port failed.
lintavo_wine_test(NAME e2e.setup.failed_port TARGET e2e_setup_tests FILTER "PortFailedAtStart.*"
                  PORTS 1 2:dangling 3:none)
