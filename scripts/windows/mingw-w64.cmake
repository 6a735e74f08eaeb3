# Builds for 64-bit Windows with Debian's mingw-w64, for scripts/check-windows. The posix
# thread model: the other one lacks std::thread and std::mutex in this compiler's version.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Libraries and packages come from the mingw-w64 tree and from a Qt built for Windows, if one
# is given. The source check takes the build machine's Qt instead, for its headers only, and
# says so with CMAKE_FIND_ROOT_PATH_MODE_PACKAGE=BOTH.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${REVLANE_WINDOWS_QT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
if(NOT DEFINED CMAKE_FIND_ROOT_PATH_MODE_PACKAGE)
  set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
endif()
