# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers (the posix
# thread model, which std::thread needs). TROVEX_WINDOWS_SDK is the prefix
# that holds Qt and libzip for MinGW (scripts/windows-sdk prints it).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(TROVEX_WINDOWS_SDK "" CACHE PATH "Prefix of Qt and libzip built for MinGW-w64")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TROVEX_WINDOWS_SDK)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${TROVEX_WINDOWS_SDK})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libzip is found through pkg-config: only the SDK's .pc files, never the
# build machine's.
if(TROVEX_WINDOWS_SDK)
  set(ENV{PKG_CONFIG_LIBDIR} "${TROVEX_WINDOWS_SDK}/lib/pkgconfig")
  set(ENV{PKG_CONFIG_PATH} "")
endif()
