# What both mingw-w64 toolchain files share; each sets CMAKE_SYSTEM_PROCESSOR
# and TOOLCHAIN_PREFIX first.
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model: its C++ library has std::mutex, which GoogleTest
# needs. Everything is linked statically, so no threading DLL ships with it.
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
