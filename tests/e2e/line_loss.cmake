lintavo_e2e_tests(e2e_line_loss_tests line_loss_test.cpp)
# COM2 is a pair the tests take away and bring back through the rig's control folder.
lintavo_wine_test(NAME e2e.line_loss TARGET e2e_line_loss_tests PORTS 2 TIMEOUT 240)
