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
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set(args)
  if(T_FILTER)
    list(APPEND args --gtest_filter=${T_FILTER})
  endif()
  add_test(NAME ${T_NAME}
    COMMAND ${LINTAVO_RIG}/with-ports ${T_PORTS} --
            ${LINTAVO_RIG}/wine-run $<TARGET_FILE:${T_TARGET}> ${args})
  set_tests_properties(${T_NAME} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    RESOURCE_LOCK wine_desktop)
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
