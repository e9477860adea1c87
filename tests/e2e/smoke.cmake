lintavo_e2e_tests(e2e_smoke_tests smoke_test.cpp)
lintavo_wine_test(NAME e2e.smoke TARGET e2e_smoke_tests PORTS 2)
