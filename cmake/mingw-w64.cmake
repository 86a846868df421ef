# What both Windows cross builds share, with Debian's mingw-w64 (posix threads):
# the toolchain named after CMAKE_SYSTEM_PROCESSOR, which the including file sets.
set(CMAKE_SYSTEM_NAME Windows)
set(BM_MINGW_TRIPLE ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${BM_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BM_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${BM_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${BM_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
