# Shared by the two Windows toolchains: QUILLA_ARCH is x86_64 or i686.
set(CMAKE_SYSTEM_NAME Windows)
set(QUILLA_HOST ${QUILLA_ARCH}-w64-mingw32)
# The posix thread model: GoogleTest needs std::mutex and friends.
set(CMAKE_C_COMPILER ${QUILLA_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILLA_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${QUILLA_HOST}-windres)
# The cross-built libjpeg-turbo, libtiff and GoogleTest (scripts/build-windows-deps.sh).
set(QUILLA_DEPS_PREFIX "$ENV{QUILLA_DEPS_PREFIX}" CACHE PATH "Cross-built dependencies")
set(CMAKE_FIND_ROOT_PATH /usr/${QUILLA_HOST} ${QUILLA_DEPS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
