# The one version, from project(): the binaries' version resources, the about box and the
# installer.
set(LINTAVO_VERSION_HEADER ${CMAKE_BINARY_DIR}/generated/lintavo_version.h)
configure_file(${CMAKE_CURRENT_LIST_DIR}/lintavo_version.h.in ${LINTAVO_VERSION_HEADER} @ONLY)
add_library(lintavo_version INTERFACE)
target_include_directories(lintavo_version INTERFACE ${CMAKE_BINARY_DIR}/generated)

# A binary whose resource script carries the version: windres leaves no dependency file, so
# the script is named as depending on the header (and on any script it includes).
function(lintavo_use_version target rc_file)
  target_link_libraries(${target} PRIVATE lintavo_version)
  set_property(SOURCE ${rc_file} APPEND PROPERTY OBJECT_DEPENDS ${LINTAVO_VERSION_HEADER} ${ARGN})
endfunction()
