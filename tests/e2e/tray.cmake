lintavo_e2e_tests(e2e_tray_tests tray_test.cpp)
lintavo_wine_test(NAME e2e.tray TARGET e2e_tray_tests PORTS 2)
