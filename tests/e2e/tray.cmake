lintavo_e2e_tests(e2e_tray_tests tray_test.cpp)
lintavo_wine_test(NAME e2e.tray TARGET e2e_tray_tests FILTER -*PortFailed PORTS 2 TIMEOUT 240)
lintavo_wine_test(NAME e2e.tray.port_failed TARGET e2e_tray_tests FILTER *PortFailed PORTS 2:dangling)
