# Cross-compiles the libraries below the window, their tests and velkor-cli for 64-bit
# Windows with Debian's mingw-w64 (posix threads, for std::thread), e.g.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# The window itself needs Qt for Windows, which this toolchain does not provide: the build
# leaves it out (VELKOR_WINDOW=OFF). The tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_prefix x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_prefix}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_prefix}-windres)
# The package strips velkor-cli.exe with the toolchain's own strip.
set(CMAKE_STRIP ${mingw_prefix}-strip)

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Statically linked, so that the .exe files run without copying the compiler's DLLs along.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Tests are built here and run under Wine (given a WINEPREFIX in the environment).
find_program(VELKOR_WINE64 wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(VELKOR_WINE64)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VELKOR_WINE64})
endif()

set(VELKOR_WINDOW OFF CACHE BOOL "Build the window (needs Qt for the target system)")
set(VELKOR_BENCH OFF CACHE BOOL "Build the benchmarks")
# GoogleTest is compiled from Debian's sources (package googletest) for the target.
set(VELKOR_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources to build")
# Tests are listed when ctest runs, not at build time: building needs no Wine.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
