# Cross toolchain: 32-bit Windows for the Pentium, run under Wine.
# scripts/runtime.sh builds it once into /opt/corvane-i586 (CORVANE_TOOLCHAIN
# moves it): GCC 12.2 with win32 threads whose default processor is the
# Pentium, and libgcc, libstdc++ and the mingw-w64 C runtime built by it, so
# that nothing linked into the program needs a newer processor or a system
# newer than Windows 95 and NT 4.0. Debian's binutils assemble and link.
if(DEFINED ENV{CORVANE_TOOLCHAIN})
    set(CORVANE_TOOLCHAIN $ENV{CORVANE_TOOLCHAIN})
else()
    set(CORVANE_TOOLCHAIN /opt/corvane-i586)
endif()
if(NOT EXISTS ${CORVANE_TOOLCHAIN}/.stamp)
    message(FATAL_ERROR "No Pentium cross compiler in ${CORVANE_TOOLCHAIN}: "
                        "scripts/setup.sh builds it (once, about half an hour)")
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i586)
set(CMAKE_C_COMPILER ${CORVANE_TOOLCHAIN}/bin/i686-w64-mingw32-gcc)
set(CMAKE_CXX_COMPILER ${CORVANE_TOOLCHAIN}/bin/i686-w64-mingw32-g++)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_C_FLAGS_INIT "-march=i586")
set(CMAKE_CXX_FLAGS_INIT "-march=i586")
set(CMAKE_FIND_ROOT_PATH ${CORVANE_TOOLCHAIN}/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Through a small wrapper: Wine ends slowly when its output is a pipe.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
