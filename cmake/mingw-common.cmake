# Shared part of the two mingw-w64 toolchain files (KOR_MINGW_TRIPLE is set by them).
set(CMAKE_C_COMPILER ${KOR_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KOR_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KOR_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KOR_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Static runtime: the programs run on a bare Windows (and Wine) without mingw DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Tests of a Windows build run under Wine (32-bit with wine, 64-bit with wine64).
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run;32)
else()
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run;64)
endif()
