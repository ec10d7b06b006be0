# Cross-builds the Windows program with mingw-w64 (64-bit, posix threads) on Linux.
# The test programs run through wine (CMAKE_CROSSCOMPILING_EMULATOR), so ctest works as usual.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(HARUMADO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${HARUMADO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HARUMADO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${HARUMADO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${HARUMADO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

find_program(HARUMADO_WINE wine)
if(HARUMADO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${HARUMADO_WINE})
endif()

# A program that needs no runtime beside the system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
