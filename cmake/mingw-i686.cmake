# Cross build for 32-bit Windows with the mingw-w64 i686 compiler: Postpone.exe as released.
set(MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
