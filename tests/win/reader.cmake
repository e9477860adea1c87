# The serial port and the reader thread under Wine. Ports: N is a pseudo-terminal pair (COMN
# and its far end COM(N+200)), N:none no port at all, N:dangling a port that will not open.
add_executable(reader_uart_tests ${CMAKE_CURRENT_LIST_DIR}/reader_uart_test.cpp)
add_executable(reader_typing_tests ${CMAKE_CURRENT_LIST_DIR}/reader_typing_test.cpp)
target_link_libraries(reader_uart_tests PRIVATE lintavo_reader lintavo_test_support gtest_main)
target_link_libraries(reader_typing_tests PRIVATE lintavo_reader lintavo_test_support gtest_main)
set_target_properties(reader_uart_tests reader_typing_tests PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${LINTAVO_TEST_OUTPUT_DIRECTORY})
# The typing tests drive cardsim's Windows build.
add_dependencies(reader_typing_tests cardsim)

lintavo_wine_test(NAME reader_uart_pty TARGET reader_uart_tests FILTER UartPty.* PORTS 2 12)
lintavo_wine_test(NAME reader_uart_no_device TARGET reader_uart_tests FILTER UartNoDevice.*
                  PORTS 0:none 3:dangling 4:none)
lintavo_wine_test(NAME reader_thread_life TARGET reader_uart_tests FILTER ReaderThreadLife.*
                  PORTS 2)

lintavo_wine_test(NAME reader_typing TARGET reader_typing_tests
                  FILTER ReaderTyping/*:ReaderOutput/*:ReaderNothingTyped.*:CardTarget.*
                  PORTS 2)
lintavo_wine_test(NAME reader_bad_input TARGET reader_typing_tests FILTER ReaderBadInput.*
                  PORTS 2)

# The line watch's platform facts and the reader's notice. COM2 is a pair the tests take away
# and bring back through the rig's control folder; COM3 leads nowhere.
add_executable(reader_line_tests ${CMAKE_CURRENT_LIST_DIR}/reader_line_test.cpp)
target_link_libraries(reader_line_tests PRIVATE lintavo_reader lintavo_test_support gtest_main)
set_target_properties(reader_line_tests PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${LINTAVO_TEST_OUTPUT_DIRECTORY})
lintavo_wine_test(NAME reader_line_facts TARGET reader_line_tests FILTER LineFacts.*
                  PORTS 2 3:dangling)
lintavo_wine_test(NAME reader_line_notices TARGET reader_line_tests
                  FILTER DeviceNotice.*:ReaderNotice.*:*/ReaderEndsOnItsOwn.*)
