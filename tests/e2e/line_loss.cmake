lintavo_e2e_tests(e2e_line_loss_tests line_loss_test.cpp)
# COM2 is a pair the tests take away and bring back through the rig's control folder.
lintavo_wine_test(NAME e2e.line_loss TARGET e2e_line_loss_tests
                  FILTER "LineLoss.Shown*:LineLoss.Confirming*" PORTS 2 TIMEOUT 240)
lintavo_wine_test(NAME e2e.line_loss.cycles TARGET e2e_line_loss_tests
                  FILTER "LineLoss.Twenty*" PORTS 2 TIMEOUT 300)
lintavo_wine_test(NAME e2e.line_loss.failed_at_start TARGET e2e_line_loss_tests
                  FILTER "LineFailedAtStart.*" PORTS 2:dangling)
