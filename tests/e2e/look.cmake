lintavo_e2e_tests(e2e_look_tests look_test.cpp)
# One start of the program at 144 DPI, its port COM2 free.
lintavo_wine_test(NAME e2e.look TARGET e2e_look_tests PORTS 2)
