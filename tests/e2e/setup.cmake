lintavo_e2e_tests(e2e_setup_tests setup_test.cpp)
# COM1 free, COM2 the program's port, COM3 absent.
lintavo_wine_test(NAME e2e.setup TARGET e2e_setup_tests PORTS 1 2 3:none TIMEOUT 180)
