# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix thread
# model, so std::thread and std::mutex work), running the built programs under
# Wine. Use: cmake -S . -B build-windows --toolchain cmake/toolchains/mingw-w64-x86_64.cmake
#
# Libraries built for Windows (Qt, for one) are found below CMAKE_FIND_ROOT_PATH:
# pass -DCMAKE_FIND_ROOT_PATH=/path/to/their/prefix and it is searched before
# the compiler's own /usr/x86_64-w64-mingw32.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)

list(APPEND CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
list(REMOVE_DUPLICATES CMAKE_FIND_ROOT_PATH)
# Programs run on the build machine; headers, libraries and packages must be
# the Windows ones, never those of the build machine.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Wine runs the tests and whatever else the build runs (gtest_discover_tests,
# add_test with a target). Its prefix lives in the build folder, so a build
# never touches ~/.wine; no debug channels, no offer to install Mono or Gecko,
# no menu entries, and no display: the programs are console programs, and
# without a display Wine cannot open a dialog that would wait for a click.
# A build that needs something else sets CMAKE_CROSSCOMPILING_EMULATOR itself.
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(WINE_EXECUTABLE NAMES wine64 wine PATHS /usr/lib/wine /usr/lib64/wine
               DOC "Wine, to run the Windows programs on the build machine")
  if(WINE_EXECUTABLE)
    find_program(WINESERVER_EXECUTABLE NAMES wineserver64 wineserver PATHS /usr/lib/wine /usr/lib64/wine
                 DOC "The Wine server")
    set(WINE_PREFIX_DIR "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH "The Wine prefix of this build")
    set(CMAKE_CROSSCOMPILING_EMULATOR
        ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
        WINEPREFIX=${WINE_PREFIX_DIR} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml,winemenubuilder.exe=
        ${WINE_EXECUTABLE})
  endif()
endif()
