#!/bin/bash
# Builds, once, the cross compiler and the runtime the program is linked with:
# GCC 12.2 (C and C++, win32 threads, DWARF-2 unwinding) for i686-w64-mingw32
# whose default processor is the Pentium (-march=i586), with libgcc and
# libstdc++ built by it, and the mingw-w64 C runtime built by it. Debian's own
# cross compiler targets the Pentium Pro and its prebuilt libraries hold cmov
# and fcomi, which a Pentium does not have.
#
# The result is kept in $CORVANE_TOOLCHAIN (default /opt/corvane-i586) with a
# stamp naming what it was built from; a second run with the same stamp does
# nothing. On two cores the first run takes about half an hour, most of it the
# compiler itself. Sources: Debian's gcc-12-source package and the mingw-w64
# source package (a deb-src line for Debian's archive is added if missing).
set -euo pipefail

PREFIX=${CORVANE_TOOLCHAIN:-/opt/corvane-i586}
TARGET=i686-w64-mingw32
JOBS=$(nproc)
# Raise the recipe number whenever what is built changes.
STAMP="gcc-12.2.0 mingw-w64-10.0.0 march=i586 recipe 1"

if [ "$(cat "$PREFIX/.stamp" 2>/dev/null)" = "$STAMP" ]; then
    exit 0
fi

log() { echo "runtime: $*" >&2; }
started=$(date +%s)

export DEBIAN_FRONTEND=noninteractive
need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
for pkg in gcc-12-source dpkg-dev libgmp-dev libmpfr-dev libmpc-dev flex bison texinfo xz-utils \
           binutils-mingw-w64-i686 mingw-w64-i686-dev g++ make; do
    have "$pkg" || need+=("$pkg")
done
if ! grep -rqs '^Types: deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    log "adding Debian's source archive"
    cat >/etc/apt/sources.list.d/corvane-src.sources <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    apt-get update -qq
fi
if [ ${#need[@]} -gt 0 ]; then
    log "installing ${need[*]}"
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

# The build folder is kept until the end, so a run that was stopped goes on
# where it stopped; it is named after the stamp, so a changed recipe starts anew.
WORK=${CORVANE_RUNTIME_WORK:-/var/tmp/corvane-runtime-$(echo "$STAMP" | sha1sum | cut -c1-8)}
mkdir -p "$WORK"
if [ ! -f "$WORK/.prefix-made" ]; then
    rm -rf "$PREFIX"
    mkdir -p "$PREFIX/$TARGET/lib"
    # The Windows headers are Debian's (mingw-w64 10.0.0), as before.
    ln -s /usr/share/mingw-w64/include "$PREFIX/$TARGET/include"
    touch "$WORK/.prefix-made"
fi

GCC_SRC=$WORK/gcc-12.2.0
if [ ! -f "$WORK/.gcc-unpacked" ]; then
    log "unpacking GCC"
    rm -rf "$GCC_SRC"
    tar -C "$WORK" -xf /usr/src/gcc-12/gcc-12.2.0-dfsg.tar.xz
    # Debian's tarball lacks the manuals; its own patch builds without them.
    patch -d "$GCC_SRC" -p2 -s </usr/src/gcc-12/patches/gcc-gfdl-build.diff
    # The thread library's mutexes are made with CreateSemaphoreW, a stub on
    # Windows 95/98; with no name the ANSI call is the same call.
    sed -i 's/CreateSemaphoreW (NULL, 0, 65535, NULL)/CreateSemaphoreA (NULL, 0, 65535, NULL)/' \
        "$GCC_SRC/libgcc/config/i386/gthr-win32.c" "$GCC_SRC/libgcc/config/i386/gthr-win32.h"
    touch "$WORK/.gcc-unpacked"
fi
if [ ! -f "$WORK/.crt-unpacked" ]; then
    log "fetching the mingw-w64 C runtime's source"
    (cd "$WORK" && apt-get source -qq --download-only mingw-w64 >/dev/null 2>&1 &&
        tar -xf mingw-w64_*.orig.tar.bz2)
fi
CRT_SRC=$(echo "$WORK"/mingw-w64-v*/mingw-w64-crt)
[ -d "$CRT_SRC" ] || { log "no mingw-w64 source"; exit 1; }
if [ ! -f "$WORK/.crt-unpacked" ]; then
    # The runtime's look-ups of msvcrt.dll and advapi32.dll use the wide
    # calls, stubs on Windows 95/98 that find nothing there.
    sed -i 's/GetModuleHandleW(L"msvcrt.dll")/GetModuleHandleA("msvcrt.dll")/' "$CRT_SRC/include/msvcrt.h"
    sed -i 's/LoadLibraryW(L"advapi32.dll")/LoadLibraryA("advapi32.dll")/' "$CRT_SRC/secapi/rand_s.c"
    touch "$WORK/.crt-unpacked"
fi

log "building the compiler (the long part)"
mkdir -p "$WORK/gcc"
[ -f "$WORK/gcc/config.status" ] || (cd "$WORK/gcc" && "$GCC_SRC/configure" --target=$TARGET --prefix="$PREFIX" \
    --with-arch=i586 --with-tune=generic \
    --with-as=/usr/bin/$TARGET-as --with-ld=/usr/bin/$TARGET-ld \
    --enable-languages=c,c++ --enable-threads=win32 --disable-sjlj-exceptions --with-dwarf2 \
    --disable-shared --enable-static --disable-multilib --disable-nls --disable-lto \
    --disable-plugin --disable-libgomp --disable-libssp --disable-libquadmath \
    --disable-libatomic --disable-libvtv --disable-libstdcxx-pch --disable-werror \
    --enable-fully-dynamic-string --enable-libstdcxx-time=yes \
    CFLAGS="-O2 -g0" CXXFLAGS="-O2 -g0" >"$WORK/gcc-configure.log" 2>&1) ||
    { tail -30 "$WORK/gcc-configure.log"; exit 1; }
make -C "$WORK/gcc" -j"$JOBS" all-gcc >"$WORK/gcc.log" 2>&1 || { tail -40 "$WORK/gcc.log"; exit 1; }
make -C "$WORK/gcc" install-gcc >>"$WORK/gcc.log" 2>&1 || { tail -40 "$WORK/gcc.log"; exit 1; }
export PATH="$PREFIX/bin:$PATH"

log "building the C runtime for the Pentium"
mkdir -p "$WORK/crt"
[ -f "$WORK/crt/config.status" ] || (cd "$WORK/crt" && "$CRT_SRC/configure" --host=$TARGET --prefix="$PREFIX/$TARGET" \
    --enable-lib32 --disable-lib64 --with-default-msvcrt=msvcrt \
    CC="$PREFIX/bin/$TARGET-gcc" CFLAGS="-O2 -g0" >"$WORK/crt-configure.log" 2>&1) ||
    { tail -30 "$WORK/crt-configure.log"; exit 1; }
make -C "$WORK/crt" -j"$JOBS" >"$WORK/crt.log" 2>&1 || { tail -40 "$WORK/crt.log"; exit 1; }
make -C "$WORK/crt" install >>"$WORK/crt.log" 2>&1 || { tail -40 "$WORK/crt.log"; exit 1; }
# One lib folder: the runtime installs into lib32 or lib depending on its options.
if [ -d "$PREFIX/$TARGET/lib32" ]; then
    cp -a "$PREFIX/$TARGET/lib32/." "$PREFIX/$TARGET/lib/"
    rm -rf "$PREFIX/$TARGET/lib32"
fi

log "building libgcc and libstdc++ for the Pentium"
make -C "$WORK/gcc" -j"$JOBS" all-target-libgcc all-target-libstdc++-v3 >"$WORK/libs.log" 2>&1 ||
    { tail -40 "$WORK/libs.log"; exit 1; }
make -C "$WORK/gcc" install-target-libgcc install-target-libstdc++-v3 >>"$WORK/libs.log" 2>&1 ||
    { tail -40 "$WORK/libs.log"; exit 1; }

echo "$STAMP" >"$PREFIX/.stamp"
rm -rf "$WORK"
log "done in $(( $(date +%s) - started )) s: $PREFIX"
