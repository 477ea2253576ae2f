# Cross-building for 64-bit Windows with Debian's mingw-w64 (scripts/windows).
# The posix thread model: the C++ runtime's threads and clocks on winpthread,
# linked in statically like the rest of the runtime, so that tessaly.exe needs
# no DLL that a bare Windows lacks.
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DTESSALY_WINDOWS_PREFIX=<deps> ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)
set(CMAKE_AR ${triplet}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${triplet}-gcc-ranlib-posix CACHE FILEPATH "")

# Libraries and packages from the mingw-w64 sysroot and from the prefix the
# dependencies were cross-built into, never from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
if(TESSALY_WINDOWS_PREFIX)
  list(APPEND CMAKE_FIND_ROOT_PATH ${TESSALY_WINDOWS_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Wine runs what the build made, for try_run and the tests.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
