# Cross build of the Windows program with MinGW-w64 (Debian:
# g++-mingw-w64-x86-64-posix, whose C++ threads use winpthread):
#
#   cmake -S . -B build-windows -G Ninja --toolchain cmake/mingw-w64-x86_64.cmake
#
# The .exe is linked statically (C++ and GCC runtimes, winpthread and every
# library found below), so it runs alone on a Windows desktop with no DLL
# beside it. Libraries such as zlib come from the MinGW root (Debian:
# libz-mingw-w64-dev); the top CMakeLists.txt prefers their static archives.
# Where Wine is installed, the test programs run under it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_target x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_target}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_target}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_target}-windres)

# Headers and libraries only from the MinGW root, programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${mingw_target})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ZLIB_USE_STATIC_LIBS ON)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(VARISIFT_WINE wine)
if(VARISIFT_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VARISIFT_WINE})
endif()
