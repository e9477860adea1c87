# The program is built room by room, one static library each, and a room links only the
# rooms below it. The linker catches most wrong arrows; the include check below catches the
# rest (a header used inline) before the room is compiled.
#
# lintavo_room(<room> [SOURCES <plain C++>...] [WIN_SOURCES <Windows layer>...]
#              [LINUX_SOURCES <Linux layer>...] [USES <room>...]
#              [WIN_LIBS <system library>...] [LINUX_LIBS <library target>...])
# <room> is the room's folder below the source root (core, reader, ui/shell, ...); its
# library is lintavo_<room with / as _>. The host build compiles only SOURCES; the Linux
# edition (LINTAVO_LINUX) adds LINUX_SOURCES, the Windows builds WIN_SOURCES.

function(lintavo_room_target room out)
  string(REPLACE "/" "_" name "${room}")
  set(${out} lintavo_${name} PARENT_SCOPE)
endfunction()

function(lintavo_room room)
  cmake_parse_arguments(R "" "" "SOURCES;WIN_SOURCES;LINUX_SOURCES;USES;WIN_LIBS;LINUX_LIBS"
                        ${ARGN})
  lintavo_room_target(${room} target)
  set(sources ${R_SOURCES})
  if(WIN32)
    list(APPEND sources ${R_WIN_SOURCES})
  elseif(LINTAVO_LINUX)
    list(APPEND sources ${R_LINUX_SOURCES})
  endif()

  # Everything a room may include: itself and, through the rooms it uses, all below it.
  set(allowed ${room})
  foreach(used IN LISTS R_USES)
    get_property(below GLOBAL PROPERTY LINTAVO_ROOM_ALLOWED_${used})
    if(NOT DEFINED below OR below STREQUAL "")
      message(FATAL_ERROR "room ${room} uses ${used}, which is not built before it")
    endif()
    list(APPEND allowed ${below})
  endforeach()
  list(REMOVE_DUPLICATES allowed)
  set_property(GLOBAL PROPERTY LINTAVO_ROOM_ALLOWED_${room} "${allowed}")

  if(NOT sources)
    add_library(${target} INTERFACE)
    set(scope INTERFACE)
  else()
    add_library(${target} STATIC ${sources})
    set(scope PUBLIC)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    lintavo_check_arrows(${room} ${target} ${sources})
  endif()
  target_include_directories(${target} ${scope} ${CMAKE_SOURCE_DIR})
  foreach(used IN LISTS R_USES)
    lintavo_room_target(${used} used_target)
    target_link_libraries(${target} ${scope} ${used_target})
  endforeach()
  if(WIN32 AND R_WIN_LIBS)
    target_link_libraries(${target} ${scope} ${R_WIN_LIBS})
  elseif(LINTAVO_LINUX AND R_LINUX_LIBS)
    target_link_libraries(${target} ${scope} ${R_LINUX_LIBS})
  endif()
endfunction()

# Fails the build of a target made of a room's files when one of them includes a header of
# a room that room may not use. The headers beside the sources count too.
function(lintavo_check_arrows room target)
  get_property(allowed GLOBAL PROPERTY LINTAVO_ROOM_ALLOWED_${room})
  set(files)
  foreach(source IN LISTS ARGN)
    get_filename_component(path ${source} ABSOLUTE)
    list(APPEND files ${path})
    string(REGEX REPLACE "\\.(cpp|rc)$" ".h" header ${path})
    if(EXISTS ${header})
      list(APPEND files ${header})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES files)
  string(REPLACE "/" "_" stamp_name "${room}")
  set(stamp ${CMAKE_BINARY_DIR}/arrows/${stamp_name}.checked)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DROOM=${room} "-DALLOWED=${allowed}" "-DFILES=${files}"
            -DSTAMP=${stamp} -P ${CMAKE_SOURCE_DIR}/cmake/CheckArrows.cmake
    DEPENDS ${files} ${CMAKE_SOURCE_DIR}/cmake/CheckArrows.cmake
    COMMENT "Checking what room ${room} includes"
    VERBATIM)
  add_custom_target(${target}_arrows DEPENDS ${stamp})
  add_dependencies(${target} ${target}_arrows)
endfunction()
