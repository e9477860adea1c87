# What the real program costs while its port is missing, against the same program idle with
# the port present. Run by hand under the rig, see the comment at the top of the source.
add_executable(line_loss_bench ${CMAKE_CURRENT_LIST_DIR}/line_loss_bench.cpp)
set_target_properties(line_loss_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
target_link_libraries(line_loss_bench PRIVATE lintavo_test_support)
add_dependencies(line_loss_bench Lintavo about qvm_help)
