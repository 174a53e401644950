# What the two Windows toolchains share: Debian's mingw-w64 with the POSIX
# thread model (so std::thread and std::mutex work), the runtime linked
# statically (the programs run on a bare Windows, and under wine, without any
# mingw DLL beside them), and wine to run what is built here.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${TARVO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARVO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TARVO_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TARVO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# Tests and tools built here run under wine, through ctest too; wine64 starts
# its 32-bit loader itself for a 32-bit program.
find_program(TARVO_WINE64 wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(TARVO_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TARVO_WINE64})
endif()
