lintavo_e2e_tests(e2e_look_tests look_test.cpp)
target_link_libraries(e2e_look_tests PRIVATE lintavo_ui_main_window)
# One start of the program at 96 DPI and one at 144, its port COM2 free.
lintavo_wine_test(NAME e2e.look TARGET e2e_look_tests PORTS 2 TIMEOUT 240)
