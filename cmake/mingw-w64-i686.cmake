# Cross build for 32-bit Windows with mingw-w64 (Debian's
# g++-mingw-w64-i686-posix): the module as Trace.dll and the Windows test
# programs, run here under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(TRACE_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${TRACE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TRACE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TRACE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TRACE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Doubles through SSE2 as on x86-64: the x87's 80-bit intermediates would
# round differently and move results. The C++ runtime goes into every binary,
# so that the DLL imports only the system's DLLs.
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

