# The companion bridges under Wine. A probe runs the bridges in a folder the test lays out
# with the real companion libraries or with recording stand-ins of the same names.
add_executable(services_probe services_probe.cpp)
set_target_properties(services_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LINTAVO_TEST_OUTPUT_DIRECTORY})
target_link_libraries(services_probe PRIVATE lintavo_services lintavo_test_support)
lintavo_unicode_entry(services_probe)

foreach(fake about about_bare help help_bare)
  add_library(fake_${fake} SHARED services_fake_companion.cpp)
  string(REGEX REPLACE "_bare$" "" library ${fake})
  string(TOUPPER ${library} kind)
  target_compile_definitions(fake_${fake} PRIVATE LINTAVO_FAKE_${kind})
  target_include_directories(fake_${fake} PRIVATE ${CMAKE_SOURCE_DIR})
  if(fake MATCHES "_bare$")
    target_compile_definitions(fake_${fake} PRIVATE LINTAVO_FAKE_NO_EXPORT)
  endif()
  if(library STREQUAL "help")
    set(library qvm_help)
  endif()
  set_target_properties(fake_${fake} PROPERTIES PREFIX "" OUTPUT_NAME ${library}
    RUNTIME_OUTPUT_DIRECTORY ${LINTAVO_TEST_OUTPUT_DIRECTORY}/fakes/${fake}
    ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/fakes/${fake})
endforeach()

add_executable(services_win_tests services_win_test.cpp)
set_target_properties(services_win_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LINTAVO_TEST_OUTPUT_DIRECTORY})
target_link_libraries(services_win_tests PRIVATE lintavo_services lintavo_test_support gtest_main)
add_dependencies(services_win_tests services_probe fake_about fake_about_bare fake_help fake_help_bare
  about qvm_help help_document)
lintavo_wine_test(NAME services.help TARGET services_win_tests FILTER "HelpBridge*:*/HelpBridgeFolder.*")
lintavo_wine_test(NAME services.about TARGET services_win_tests FILTER "AboutBridge*")
lintavo_wine_test(NAME services.library_search TARGET services_win_tests FILTER "LibrarySearch*")
lintavo_wine_test(NAME services.translation TARGET services_win_tests FILTER "Cp1251Table*:TranslateWindow*")
