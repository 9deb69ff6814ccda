# Warnings for every target, by compiler; the CI build turns them into errors.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-Wall -Wextra)
  if(TROVEX_WARNINGS_AS_ERRORS)
    add_compile_options(-Werror)
  endif()
elseif(MSVC)
  add_compile_options(/W4)
  if(TROVEX_WARNINGS_AS_ERRORS)
    add_compile_options(/WX)
  endif()
endif()

# Sanitizers come on top of whatever flags the build already has.
if(TROVEX_SANITIZERS)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    message(FATAL_ERROR "TROVEX_SANITIZERS needs GCC or Clang")
  endif()
  add_compile_options(-fsanitize=${TROVEX_SANITIZERS} -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${TROVEX_SANITIZERS})
endif()
