# Cross build for Windows with mingw-w64. TIDRA_MINGW_ARCH names the target:
# i686 (the shipped 32-bit console program) or x86_64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TIDRA_MINGW_ARCH})
set(CMAKE_CXX_COMPILER ${TIDRA_MINGW_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${TIDRA_MINGW_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TIDRA_MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# A console program that needs no DLL beyond those that come with Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Release executables carry no symbol table.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
