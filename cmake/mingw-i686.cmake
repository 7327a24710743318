# Cross toolchain: 32-bit Windows for the Pentium, run under Wine.
# Debian's GCC 12.2 for i686-w64-mingw32 with win32 threads, through two
# wrappers in /opt/corvane-i586/bin (CORVANE_TOOLCHAIN moves it) that make the
# Pentium its processor and link libgcc, libstdc++ and the mingw-w64 C runtime
# that scripts/runtime.sh built for the Pentium, so that nothing linked into
# the program needs a newer processor or a system newer than Windows 95 and
# NT 4.0. Debian's binutils assemble and link; the Windows headers are
# Debian's mingw-w64 headers.
if(DEFINED ENV{CORVANE_TOOLCHAIN})
    set(CORVANE_TOOLCHAIN $ENV{CORVANE_TOOLCHAIN})
else()
    set(CORVANE_TOOLCHAIN /opt/corvane-i586)
endif()
if(NOT EXISTS ${CORVANE_TOOLCHAIN}/.stamp)
    message(FATAL_ERROR "No Pentium cross compiler in ${CORVANE_TOOLCHAIN}: "
                        "scripts/setup.sh builds it (once, a few minutes)")
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i586)
set(CMAKE_C_COMPILER ${CORVANE_TOOLCHAIN}/bin/i686-w64-mingw32-gcc)
set(CMAKE_CXX_COMPILER ${CORVANE_TOOLCHAIN}/bin/i686-w64-mingw32-g++)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_C_FLAGS_INIT "-march=i586")
set(CMAKE_CXX_FLAGS_INIT "-march=i586")
set(CMAKE_FIND_ROOT_PATH ${CORVANE_TOOLCHAIN}/i686-w64-mingw32)
set(CORVANE_WINDOWS_HEADERS /usr/share/mingw-w64/include)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Through a small wrapper: Wine ends slowly when its output is a pipe.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
