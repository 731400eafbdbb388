# CMake toolchain for the Windows (x86-64) cross build with Debian's MinGW-w64 (posix threads, so
# std::thread and std::mutex exist). Libraries are looked up in the toolchain prefix only, never on the host.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KAVREL_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KAVREL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KAVREL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KAVREL_MINGW_TRIPLE}-windres)

if(NOT KAVREL_WIN_PREFIX)
  if(DEFINED ENV{KAVREL_WIN_PREFIX})
    set(KAVREL_WIN_PREFIX "$ENV{KAVREL_WIN_PREFIX}")
  else()
    set(KAVREL_WIN_PREFIX "$ENV{HOME}/.cache/kavrel-win64")
  endif()
endif()
# Try-compile projects see the toolchain file again but not the cache: hand the prefix on.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KAVREL_WIN_PREFIX)

set(CMAKE_FIND_ROOT_PATH "${KAVREL_WIN_PREFIX}" /usr/${KAVREL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config must find the Windows .pc files, never the host's.
set(ENV{PKG_CONFIG_LIBDIR} "${KAVREL_WIN_PREFIX}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
