# The shipping 32-bit build. This kernel cannot run 32-bit code, so it has no emulator
# and its tests are built but not run.
set(QUILLA_ARCH i686)
set(CMAKE_SYSTEM_PROCESSOR X86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
