# Cross build for 64-bit Windows with the mingw-w64 x86_64 compiler: for the tests under 64-bit Wine
# only, where the machine cannot run 32-bit programs.
set(MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
