# The output options in the real program: notepad, Enter and Tab in another program's form
# (output_form) and typing where no caret is.
add_executable(output_form WIN32 output_form.cpp output_form.rc)
set_target_properties(output_form PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LINTAVO_TEST_OUTPUT_DIRECTORY})
target_include_directories(output_form PRIVATE ${CMAKE_SOURCE_DIR})
lintavo_unicode_entry(output_form)

lintavo_e2e_tests(e2e_output_tests output_test.cpp)
add_dependencies(e2e_output_tests output_form)
lintavo_wine_test(NAME e2e.output TARGET e2e_output_tests PORTS 2)
