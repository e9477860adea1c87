add_executable(e2e_line_loss_tests line_loss_test.cpp)
set_target_properties(e2e_line_loss_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LINTAVO_TEST_OUTPUT_DIRECTORY})
target_include_directories(e2e_line_loss_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(e2e_line_loss_tests PRIVATE gtest_main)
add_dependencies(e2e_line_loss_tests Lintavo about qvm_help cardsim)
# COM2 is a pair the tests take away and bring back through the rig's control folder.
lintavo_wine_test(NAME e2e.line_loss TARGET e2e_line_loss_tests FILTER "LineLoss.*:-*Twenty*"
                  PORTS 2 TIMEOUT 240)
lintavo_wine_test(NAME e2e.line_loss.cycles TARGET e2e_line_loss_tests FILTER "*Twenty*"
                  PORTS 2 TIMEOUT 300)
lintavo_wine_test(NAME e2e.line_loss.failed_at_start TARGET e2e_line_loss_tests
                  FILTER "LineFailedAtStart.*" PORTS 2:dangling)
