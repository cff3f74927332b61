# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (POSIX threads,
# for std::thread): the tool against Qt for Windows, and the Win32 backends'
# own tests.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PRALIX_MINGW_PREFIX x86_64-w64-mingw32)
find_program(CMAKE_CXX_COMPILER NAMES ${PRALIX_MINGW_PREFIX}-g++-posix ${PRALIX_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_C_COMPILER NAMES ${PRALIX_MINGW_PREFIX}-gcc-posix ${PRALIX_MINGW_PREFIX}-gcc)
find_program(CMAKE_RC_COMPILER NAMES ${PRALIX_MINGW_PREFIX}-windres)

# Windows 7 SP1 is the oldest Windows the tool runs on: mingw-w64's headers
# default to Windows 10 and would let a call bind a function that Windows 7
# lacks (GetSystemTimePreciseAsFileTime is the usual one).  Qt for Windows is
# built with the same two values.
set(CMAKE_C_FLAGS_INIT "-D_WIN32_WINNT=0x0601 -DWINVER=0x0601")
set(CMAKE_CXX_FLAGS_INIT "-D_WIN32_WINNT=0x0601 -DWINVER=0x0601")

set(CMAKE_FIND_ROOT_PATH /usr/${PRALIX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
