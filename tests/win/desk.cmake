# What a real Windows desk asks of the program, against the platform: the setup dialog's
# probes under their deadline, the icon's balloon, and the running copy in the single-copy
# section.
add_executable(desk_win_tests desk_probe_test.cpp desk_balloon_test.cpp desk_running_copy_test.cpp
               desk_section_security_test.cpp)
set_target_properties(desk_win_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LINTAVO_TEST_OUTPUT_DIRECTORY})
target_link_libraries(desk_win_tests PRIVATE lintavo_ui_setup lintavo_ui_tray lintavo_test_support gtest_main)
# COM1 free, COM2 the program's port, COM3 absent; COM5 to COM7 stand-ins.
lintavo_wine_test(NAME desk.probe TARGET desk_win_tests FILTER "SetupProbeDeadline*" PORTS 1 2 3:none)
lintavo_wine_test(NAME desk.balloon TARGET desk_win_tests FILTER "TrayBalloon*")
lintavo_wine_test(NAME desk.running_copy TARGET desk_win_tests FILTER "RunningCopySection*")
lintavo_wine_test(NAME desk.older_copy TARGET desk_win_tests FILTER "OlderCopySection*")
lintavo_wine_test(NAME desk.section_security TARGET desk_win_tests FILTER "SectionSecurity*")
