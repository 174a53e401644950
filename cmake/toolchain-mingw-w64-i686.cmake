# tarvo.exe as shipped: a 32-bit program, which runs on 32-bit Windows and on
# every 64-bit Windows and drives a 32- or 64-bit Excel alike (Excel runs in
# its own process).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TARVO_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
