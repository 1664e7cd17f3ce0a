# Cross-builds the 32-bit Windows plug-in with mingw-w64 (Debian package
# g++-mingw-w64-i686):
#   cmake -S . -B build-win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
# The win32 thread model needs no threading DLL at run time; the posix one
# would, so it is taken only when the win32 compiler is missing.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(VITALCHART_MINGW_TRIPLE i686-w64-mingw32)
find_program(VITALCHART_MINGW_CXX NAMES ${VITALCHART_MINGW_TRIPLE}-g++-win32 ${VITALCHART_MINGW_TRIPLE}-g++ REQUIRED)
find_program(VITALCHART_MINGW_WINDRES NAMES ${VITALCHART_MINGW_TRIPLE}-windres)
set(CMAKE_CXX_COMPILER ${VITALCHART_MINGW_CXX})
if(VITALCHART_MINGW_WINDRES)
  set(CMAKE_RC_COMPILER ${VITALCHART_MINGW_WINDRES})
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${VITALCHART_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
