# Cross-building the Windows program on Debian with mingw-w64 (g++-mingw-w64-x86-64-posix: the
# posix thread model, which std::thread and std::mutex need). The result is one executable that
# carries libgcc, libstdc++ and winpthread inside, so it runs on a Windows without MinGW.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CX_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${CX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${CX_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${CX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test executables run under Wine, here and in the test discovery of ctest.
find_program(CX_WINE NAMES wine wine64)
if(CX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CX_WINE})
endif()

# -O2: at -O3 GCC 12 warns falsely (-Wrestrict) inside std::string's operator+, and warnings are
# errors here.
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of the release build")
