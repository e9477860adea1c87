lintavo_e2e_tests(e2e_placement_tests placement_test.cpp)
lintavo_wine_test(NAME e2e.placement TARGET e2e_placement_tests PORTS 2)
