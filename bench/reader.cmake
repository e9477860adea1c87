# The reader's latency and idle cost; run by hand, see the comment at the top of the source.
add_executable(reader_bench ${CMAKE_CURRENT_LIST_DIR}/reader_latency_bench.cpp)
target_link_libraries(reader_bench PRIVATE lintavo_journal cardsim_plan lintavo_test_support)
lintavo_unicode_entry(reader_bench)
set_target_properties(reader_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
