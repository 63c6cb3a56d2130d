# Cross build for 64-bit Windows with Debian's mingw-w64 compilers (package g++-mingw-w64-x86-64).
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# The posix thread model is used: with g++ 12 the win32 model has no std::thread, std::mutex or
# std::condition_variable, and the posix one has them all (through winpthreads, linked statically
# below, so no extra DLL is needed).
# Everything is linked statically, so the .exe needs no DLL beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest runs the Windows executables through Wine, in a Wine prefix of the build's own (created on
# first use; scripts/windows.sh creates it beforehand). The DLL overrides keep the prefix's creation
# from offering to install Mono and Gecko, which would wait for a click that never comes headless.
find_program(WINE_PROGRAM wine)
if(WINE_PROGRAM)
  set(COMPATTATORE_WINEPREFIX ${CMAKE_BINARY_DIR}/wine CACHE PATH "Wine prefix for the tests")
  set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${COMPATTATORE_WINEPREFIX} WINEDEBUG=-all
      WINEDLLOVERRIDES=mscoree,mshtml= ${WINE_PROGRAM})
endif()
