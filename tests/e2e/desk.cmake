lintavo_e2e_tests(e2e_desk_tests desk_test.cpp)
# One launch on COM2 walks every check in turn; the rig makes COM2 stale on the way.
lintavo_wine_test(NAME e2e.desk TARGET e2e_desk_tests PORTS 2 TIMEOUT 240)
