lintavo_e2e_tests(e2e_tray_tests tray_test.cpp)
lintavo_wine_test(NAME e2e.tray TARGET e2e_tray_tests FILTER TrayE2eTest.* PORTS 2 TIMEOUT 240)
# COM1 free, COM2 there but refusing to open (the program's port), COM3 absent.
lintavo_wine_test(NAME e2e.tray.port_failed TARGET e2e_tray_tests FILTER TrayPortFailed.*
                  PORTS 1 2:dangling 3:none TIMEOUT 240)
