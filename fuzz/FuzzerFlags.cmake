# The flags of a fuzzing build. Every target is compiled with libFuzzer's
# coverage instrumentation and with AddressSanitizer and
# UndefinedBehaviorSanitizer, so a fault inside the libraries is seen, not
# only one in the harness. Undefined behaviour stops the run instead of
# being reported and passed over, so the fuzzer keeps the input.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "TROVEX_BUILD_FUZZERS needs clang (libFuzzer); configure with the "
                      "preset fuzz or CMAKE_CXX_COMPILER=clang++-14")
endif()

set(TROVEX_FUZZ_SANITIZERS address,undefined)
add_compile_options(-fsanitize=fuzzer-no-link,${TROVEX_FUZZ_SANITIZERS}
                    -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_link_options(-fsanitize=${TROVEX_FUZZ_SANITIZERS})
