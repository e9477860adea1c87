# The one place that opens ports: the configured port's open on a worker under its deadline.
# COM1 and COM2 are pseudo-terminal pairs.
add_executable(opener_win_tests ${CMAKE_CURRENT_LIST_DIR}/port_opener_test.cpp)
target_link_libraries(opener_win_tests PRIVATE lintavo_reader lintavo_test_support gtest_main)
set_target_properties(opener_win_tests PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${LINTAVO_TEST_OUTPUT_DIRECTORY})
lintavo_wine_test(NAME reader.opener TARGET opener_win_tests FILTER PortOpener.*:OpenThreads.* PORTS 1 2)
