# How long the setup dialog takes to open: building it and filling it from the settings, which
# probes the ports. Run by hand under the rig, e.g.
#   tests/rig/with-ports 1:dangling -- tests/rig/wine-run setup_open_bench.exe     (all absent)
#   tests/rig/with-ports 1 3 4 5 -- tests/rig/wine-run setup_open_bench.exe       (a few present)
add_executable(setup_open_bench ${CMAKE_CURRENT_LIST_DIR}/setup_open_bench.cpp)
set_target_properties(setup_open_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
target_link_libraries(setup_open_bench PRIVATE lintavo_ui_setup)
