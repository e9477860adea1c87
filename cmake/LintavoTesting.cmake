# Windows tests run under Wine through the shared rig: tests/rig/with-ports lays out the COM
# ports a test asks for (pseudo-terminal pairs, absent ports, links that lead nowhere) and
# tests/rig/wine-run starts the Windows executable in the rig's prefix.
set(LINTAVO_RIG ${CMAKE_SOURCE_DIR}/tests/rig)
if(WIN32)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${LINTAVO_RIG}/wine-run)
endif()

# lintavo_wine_test(NAME <ctest name> TARGET <exe target> [FILTER <gtest filter>]
#                   [PORTS <port>...] [TIMEOUT <s>])
# A port is named N (a free pseudo-terminal as COMN, its far end as COM(N+200)),
# N:none (no COMN at all) or N:dangling (COMN links to a path that does not exist).
function(lintavo_wine_test)
  cmake_parse_arguments(T "" "NAME;TARGET;FILTER;TIMEOUT" "PORTS" ${ARGN})
  set_property(TARGET ${T_TARGET} PROPERTY LINTAVO_LAUNCHER
               ${LINTAVO_RIG}/with-ports -- ${LINTAVO_RIG}/wine-run)
  lintavo_gtest_entry(${T_NAME} ${T_TARGET} "${T_FILTER}" "${T_TIMEOUT}"
                      ${LINTAVO_RIG}/with-ports ${T_PORTS} -- ${LINTAVO_RIG}/wine-run)
  set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK wine_desktop)
endfunction()

# lintavo_host_test(NAME <ctest name> TARGET <exe target> [FILTER <gtest filter>]
#                   [TIMEOUT <s>]): a test program of this host, run as it is.
function(lintavo_host_test)
  cmake_parse_arguments(T "" "NAME;TARGET;FILTER;TIMEOUT" "" ${ARGN})
  lintavo_gtest_entry(${T_NAME} ${T_TARGET} "${T_FILTER}" "${T_TIMEOUT}")
endfunction()

# One ctest entry that runs a GoogleTest program through the launcher given after the
# timeout. A FILTER names what runs (Suite.*:Other*), never what does not: the filters of
# one executable together are what it runs, and whatever none of them takes must be
# nothing. What an entry needs its rig lays out, so a test that skips there found the rig
# short of what it is built to give, and fails the entry.
function(lintavo_gtest_entry name target filter timeout)
  if(NOT timeout)
    set(timeout 120)
  endif()
  set(args)
  if(filter)
    if(filter MATCHES "-")
      message(FATAL_ERROR "${name}: FILTER ${filter} leaves tests out; name the suites "
                          "that run instead, so that one no entry runs can be found")
    endif()
    list(APPEND args --gtest_filter=${filter})
  endif()
  lintavo_remember_filter(${target} "${filter}")
  add_test(NAME ${name} COMMAND ${ARGN} $<TARGET_FILE:${target}> ${args})
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${timeout}
    FAIL_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
endfunction()

# Notes which filter an entry runs the executable with (none: all of it), and once per
# directory schedules the check of what no entry runs for when the directory is done.
function(lintavo_remember_filter target filter)
  set_property(TARGET ${target} PROPERTY LINTAVO_REGISTERED ON)
  if(filter)
    set_property(TARGET ${target} APPEND PROPERTY LINTAVO_FILTERS ${filter})
  else()
    set_property(TARGET ${target} PROPERTY LINTAVO_RUNS_WHOLE ON)
  endif()
  set_property(DIRECTORY APPEND PROPERTY LINTAVO_TEST_TARGETS ${target})
  get_property(scheduled DIRECTORY PROPERTY LINTAVO_UNREGISTERED_CHECK)
  if(NOT scheduled)
    set_property(DIRECTORY PROPERTY LINTAVO_UNREGISTERED_CHECK ON)
    cmake_language(DEFER CALL lintavo_check_unregistered)
  endif()
endfunction()

# A suite whose name no filter takes would never run, and nothing would say so. Each
# executable split into entries by filters gets one more entry, <target>.unregistered, that
# runs it with all its filters negated and fails on any test that starts there; and a test
# executable with no entry at all stops the configuration.
function(lintavo_check_unregistered)
  get_property(targets DIRECTORY PROPERTY LINTAVO_TEST_TARGETS)
  list(REMOVE_DUPLICATES targets)
  foreach(target IN LISTS targets)
    get_property(whole TARGET ${target} PROPERTY LINTAVO_RUNS_WHOLE)
    get_property(filters TARGET ${target} PROPERTY LINTAVO_FILTERS)
    if(whole OR NOT filters)
      continue()
    endif()
    list(JOIN filters ":" taken)
    get_property(launcher TARGET ${target} PROPERTY LINTAVO_LAUNCHER)
    add_test(NAME ${target}.unregistered
      COMMAND ${launcher} $<TARGET_FILE:${target}> --gtest_filter=-${taken})
    set_tests_properties(${target}.unregistered PROPERTIES
      TIMEOUT 120
      FAIL_REGULAR_EXPRESSION "\\[ RUN      \\]")
    if(launcher)
      set_tests_properties(${target}.unregistered PROPERTIES RESOURCE_LOCK wine_desktop)
    endif()
  endforeach()

  get_property(all DIRECTORY PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS all)
    get_target_property(libraries ${target} LINK_LIBRARIES)
    if(NOT libraries)
      continue()
    endif()
    list(FILTER libraries INCLUDE REGEX "^(GTest::)?gtest(_main)?$")
    if(NOT libraries)
      continue()
    endif()
    get_property(registered TARGET ${target} PROPERTY LINTAVO_REGISTERED)
    if(NOT registered)
      message(FATAL_ERROR "test executable ${target} has no ctest entry; give it one with "
                          "lintavo_wine_test or lintavo_host_test")
    endif()
  endforeach()
endfunction()

# Programs whose entry point is wmain or wWinMain (the product, the tools); test programs
# keep GoogleTest's plain main.
function(lintavo_unicode_entry target)
  target_link_options(${target} PRIVATE -municode)
endfunction()

# Windows-side GoogleTest, built from the Debian source package.
function(lintavo_windows_gtest)
  if(NOT TARGET gtest)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  endif()
endfunction()
