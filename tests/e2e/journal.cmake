lintavo_e2e_tests(e2e_journal_tests journal_test.cpp)
# One launch on COM2: cards typed and not, a burst under the open setup, the window, the file.
lintavo_wine_test(NAME e2e.journal TARGET e2e_journal_tests PORTS 2 TIMEOUT 240)
