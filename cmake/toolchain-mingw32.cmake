# Cross build for 32-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-i686):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw32.cmake
# The game then compiles against the SDK's own windows.h and ddraw.h and
# links the real DDRAW, GDI32, USER32 and KERNEL32 (see windows/CMakeLists.txt).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(QV_MINGW_TRIPLET i686-w64-mingw32)
# -DQV_MINGW_THREADS=posix picks the posix-thread compilers (std::thread and
# std::mutex, on winpthreads); by default the system's choice, win32 threads.
set(QV_MINGW_THREADS "" CACHE STRING "MinGW-w64 thread model of the compilers: empty (default), posix or win32")
if(QV_MINGW_THREADS)
  set(QV_MINGW_SUFFIX -${QV_MINGW_THREADS})
endif()
set(CMAKE_C_COMPILER ${QV_MINGW_TRIPLET}-gcc${QV_MINGW_SUFFIX})
set(CMAKE_CXX_COMPILER ${QV_MINGW_TRIPLET}-g++${QV_MINGW_SUFFIX})
set(CMAKE_RC_COMPILER ${QV_MINGW_TRIPLET}-windres)

# Headers and libraries come from the MinGW-w64 tree only, never from the
# build machine; programs (compilers, tools) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${QV_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
