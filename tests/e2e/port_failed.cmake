lintavo_e2e_tests(e2e_port_failed_tests port_failed_test.cpp)
# COM1 free, COM2 the program's port leading nowhere until the rig brings it, COM3 absent.
lintavo_wine_test(NAME e2e.port_failed TARGET e2e_port_failed_tests PORTS 1 2:dangling 3:none)
