# One QtTest executable per module; GUI tests run without a display.
function(trovex_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(test_${name} ${ARG_SOURCES})
  target_link_libraries(test_${name} PRIVATE Qt6::Test ${ARG_LIBS})
  target_include_directories(test_${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  set_target_properties(test_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND test_${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TROVEX_FIXTURES=${CMAKE_SOURCE_DIR}/tests/fixtures;TROVEX_BIN=${CMAKE_BINARY_DIR}/bin"
    TIMEOUT 300)
endfunction()
