# tarvo.exe for 64-bit Windows: built by CI so it keeps compiling; the program
# shipped and tested is the 32-bit one (toolchain-mingw-w64-i686.cmake).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TARVO_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
