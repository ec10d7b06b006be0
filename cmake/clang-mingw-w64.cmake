# Compiles the Windows sources with clang for the mingw-w64 target: a second compiler beside gcc.
# clang looks for the C++ headers in the wrong place for this target, so mingw's libstdc++
# folders are named explicitly; the linker (ld), the libraries and the resource compiler are mingw's own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(HARUMADO_MINGW_PREFIX x86_64-w64-mingw32)
set(HARUMADO_MINGW_GCC_DIR /usr/lib/gcc/${HARUMADO_MINGW_PREFIX}/12-posix)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${HARUMADO_MINGW_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${HARUMADO_MINGW_PREFIX})
set(CMAKE_RC_COMPILER ${HARUMADO_MINGW_PREFIX}-windres)

set(CMAKE_CXX_FLAGS_INIT
  "-nostdinc++ -isystem ${HARUMADO_MINGW_GCC_DIR}/include/c++ -isystem ${HARUMADO_MINGW_GCC_DIR}/include/c++/${HARUMADO_MINGW_PREFIX} -isystem ${HARUMADO_MINGW_GCC_DIR}/include/c++/backward")

set(CMAKE_FIND_ROOT_PATH /usr/${HARUMADO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Used to compile, not to link: clang's driver does not link gcc's posix-thread libstdc++ as it
# stands (winpthread is missing and COMDAT sections differ in size), so the build preset builds
# the libraries that hold every Windows source but the entry point.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -L${HARUMADO_MINGW_GCC_DIR}")
