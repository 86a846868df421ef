# Cross build for 64-bit Windows with Debian's mingw-w64 (x86_64, posix
# threads). The product is the 32-bit exe; this build is what the Wine stages
# run on a machine that cannot execute 32-bit programs (wine64 only).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
