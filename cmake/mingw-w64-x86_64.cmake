# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix).
#
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DSORVANE_WINDOWS_PREFIX="A;B" ...
#
# The posix thread model is used: the win32 one of GCC 12 has no std::mutex or std::thread.
# Libraries and packages are looked for only in the mingw-w64 sysroot and in the folders of
# SORVANE_WINDOWS_PREFIX (ERFA, libical, Qt built for Windows by tools/windows.sh); the
# programs they build are run under wine when a build step or a test must run one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(SORVANE_MINGW_HOST x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${SORVANE_MINGW_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SORVANE_MINGW_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${SORVANE_MINGW_HOST}-windres)
set(CMAKE_AR ${SORVANE_MINGW_HOST}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${SORVANE_MINGW_HOST}-gcc-ranlib-posix CACHE FILEPATH "")

# The toolchain file is read again in try_compile projects: pass the prefixes on.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES SORVANE_WINDOWS_PREFIX)
set(CMAKE_FIND_ROOT_PATH /usr/${SORVANE_MINGW_HOST} ${SORVANE_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(SORVANE_WINE wine)
if(SORVANE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SORVANE_WINE})
endif()
