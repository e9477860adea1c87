# The program's imports against the oldest Windows its manifest names: a function newer than
# that keeps the program from starting there. A build check: no Wine needed.
add_test(NAME build.oldest_windows_imports
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/oldest_windows_imports.sh ${CMAKE_OBJDUMP} ${CMAKE_CXX_COMPILER}
          $<TARGET_FILE:Lintavo> ${CMAKE_BINARY_DIR}/app/lintavo.manifest)
