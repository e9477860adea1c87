lintavo_e2e_tests(e2e_version_tests version_test.cpp)
target_link_libraries(e2e_version_tests PRIVATE lintavo_version version)
lintavo_wine_test(NAME e2e.version TARGET e2e_version_tests PORTS 2)
