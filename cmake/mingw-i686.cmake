# Cross toolchain: 32-bit Windows through mingw-w64 (posix threads), tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(QELVANE_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER ${QELVANE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QELVANE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QELVANE_MINGW_TRIPLE}-windres)

# The deps prefix may come from -D or from the environment written by scripts/setup.
if(NOT QELVANE_DEPS_PREFIX AND DEFINED ENV{QELVANE_DEPS_PREFIX})
  set(QELVANE_DEPS_PREFIX "$ENV{QELVANE_DEPS_PREFIX}")
endif()
if(QELVANE_DEPS_PREFIX)
  set(QELVANE_DEPS_PREFIX "${QELVANE_DEPS_PREFIX}" CACHE PATH
      "Static mingw builds of libpng and libjpeg-turbo (include/, lib/)")
endif()
# try_compile projects re-read this file without the cache; hand the value on.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QELVANE_DEPS_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${QELVANE_MINGW_TRIPLE})
if(QELVANE_DEPS_PREFIX)
  list(PREPEND CMAKE_FIND_ROOT_PATH "${QELVANE_DEPS_PREFIX}")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine-run")
