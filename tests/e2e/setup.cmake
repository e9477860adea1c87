lintavo_e2e_tests(e2e_setup_tests setup_test.cpp)
# COM1 free, COM2 the program's port, COM3 absent.
lintavo_wine_test(NAME e2e.setup.dialog TARGET e2e_setup_tests FILTER "SetupE2E.*:*/SetupE2ECancel.*"
                  PORTS 1 2 3:none TIMEOUT 300)
lintavo_wine_test(NAME e2e.setup.output_page TARGET e2e_setup_tests FILTER "SetupOutputPage.*"
                  PORTS 1 2 3:none TIMEOUT 180)
# COM2 there but refusing to open: the program's port failed.
lintavo_wine_test(NAME e2e.setup.failed_port TARGET e2e_setup_tests FILTER "PortFailedAtStart.*"
                  PORTS 1 2:dangling 3:none)
