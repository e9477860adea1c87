lintavo_e2e_tests(e2e_session_end_tests session_end_test.cpp)
# Three starts on COM2 with a settings file that cannot be written.
lintavo_wine_test(NAME e2e.session_end TARGET e2e_session_end_tests PORTS 2)
