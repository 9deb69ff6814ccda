# One QtTest executable per module; GUI tests run without a display.
#
# The Windows build's tests run under Wine (the preset's
# CMAKE_CROSSCOMPILING_EMULATOR), which shows the build machine's root as
# drive Z:, so the folders the tests are told of are given in that form.
# Qt for Windows is built without the offscreen plugin: its windows are real
# Win32 windows there, on the X server that scripts/windows gives Wine.
if(WIN32 AND CMAKE_CROSSCOMPILING)
  set(trovex_test_root "Z:")
  set(trovex_test_platform "windows")
else()
  set(trovex_test_root "")
  set(trovex_test_platform "offscreen")
endif()

function(trovex_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(test_${name} ${ARG_SOURCES})
  target_link_libraries(test_${name} PRIVATE Qt6::Test trovex_test_support ${ARG_LIBS})
  target_include_directories(test_${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  set_target_properties(test_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(WIN32 AND CMAKE_CROSSCOMPILING)
    add_test(NAME ${name}
      COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-qtest $<TARGET_FILE:test_${name}>)
  else()
    add_test(NAME ${name} COMMAND test_${name})
  endif()
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=${trovex_test_platform};TROVEX_FIXTURES=${trovex_test_root}${CMAKE_SOURCE_DIR}/tests/fixtures;TROVEX_BIN=${trovex_test_root}${CMAKE_BINARY_DIR}/bin"
    TIMEOUT 300)
endfunction()

# A test that cannot mean anything on the system built for: it is listed and
# reported as skipped, with its reason, instead of silently left out.
function(trovex_skip_test name reason)
  add_test(NAME ${name} COMMAND ${CMAKE_COMMAND} -E echo "Übersprungen: ${reason}")
  set_tests_properties(${name} PROPERTIES SKIP_REGULAR_EXPRESSION "Übersprungen: ")
endfunction()
