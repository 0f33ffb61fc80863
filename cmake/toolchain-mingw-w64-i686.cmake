# Cross-compiling for 32-bit Windows with Debian's mingw-w64: the runner,
# which loads the 32-bit HSP compiler.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
