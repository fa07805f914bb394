# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-build for 32-bit Windows with Debian's mingw-w64 (the -posix
# variant: the -win32 one has no std::thread). Programs are linked
# statically, so they run on a bare Windows or under wine without the
# toolchain's DLLs. Usage:
#   cmake -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(TB_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_C_COMPILER ${TB_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TB_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TB_MINGW_TRIPLET}-windres)

# Windows builds of Qt and libjpeg live outside the toolchain's own root:
# name their prefixes with -DTB_WINDOWS_ROOTS="dir;dir".
set(CMAKE_FIND_ROOT_PATH /usr/${TB_MINGW_TRIPLET} ${TB_WINDOWS_ROOTS})
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TB_WINDOWS_ROOTS)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test programs run under wine when it is there (CTest and test discovery).
find_program(TB_WINE wine)
if(TB_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TB_WINE})
endif()
# Tests are listed when CTest runs, not after each build, so that building
# needs no wine.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
