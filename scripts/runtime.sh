#!/bin/bash
# Builds, once, the runtime the program is linked with, for the Pentium:
# libgcc (with its DWARF-2 unwinder), libsupc++/libstdc++ and the parts of the
# mingw-w64 C runtime that a program links (start-up object, libmingw32,
# libmingwex, libmsvcrt, libmoldname), all built at -march=i586.
#
# The compiler is Debian's own (g++-mingw-w64-i686-win32): GCC 12.2 from the
# same gcc-12 source, win32 threads, DWARF-2 unwinding, fully dynamic strings
# and libstdc++'s time support, as the runtime is configured here. What it
# lacks is a Pentium default and libraries without cmov and fcomi: its own are
# built for the Pentium Pro. So nothing of the compiler is built, only what is
# linked, with that compiler; gcc/ is configured only for the few generated
# headers that libgcc includes. The two wrappers in $PREFIX/bin run Debian's
# compiler with -march=i586 and these libraries ahead of its own.
#
# The result is kept in $CORVANE_TOOLCHAIN (default /opt/corvane-i586) with a
# stamp naming what it was built from; a second run with the same stamp does
# nothing. Sources: Debian's gcc-12-source package and the mingw-w64 source
# package, fetched through a deb-src entry made from this machine's own apt
# sources when it has none.
set -euo pipefail

PREFIX=${CORVANE_TOOLCHAIN:-/opt/corvane-i586}
TARGET=i686-w64-mingw32
JOBS=$(nproc)
# Every function and datum in a section of its own, so that a program's link
# keeps only what it calls; and no verbose terminate handler, whose demangler
# a window program without a console would carry for nothing.
TARGET_FLAGS="-O2 -g0 -pipe -ffunction-sections -fdata-sections"
# Raise the recipe number whenever what is built changes.
STAMP="gcc-12.2.0 mingw-w64-10.0.0 march=i586 recipe 3 (Debian's compiler, sections)"

if [ "$(cat "$PREFIX/.stamp" 2>/dev/null)" = "$STAMP" ]; then
    exit 0
fi

log() { echo "runtime: [$(($(date +%s) - started)) s] $*" >&2; }
started=$(date +%s)
# The step's output goes to a log; on failure its end is shown.
run_logged() {
    local name=$1
    shift
    "$@" >"$WORK/$name.log" 2>&1 || { tail -40 "$WORK/$name.log" >&2; log "$name failed"; exit 1; }
}

export DEBIAN_FRONTEND=noninteractive
need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
for pkg in g++-mingw-w64-i686-win32 binutils-mingw-w64-i686 mingw-w64-i686-dev gcc-12-source \
           dpkg-dev libgmp-dev libmpfr-dev libmpc-dev xz-utils bzip2 g++ make; do
    have "$pkg" || need+=("$pkg")
done

# A deb-src entry for every deb entry of this machine's own sources (its
# mirror, suites and keyring), so the script names no archive of its own.
has_deb_src() {
    grep -rqsE '^Types:.*deb-src' /etc/apt/sources.list.d/ ||
        grep -qsE '^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/*.list
}
if ! has_deb_src; then
    log "adding source entries beside this machine's package entries"
    {
        for f in /etc/apt/sources.list.d/*.sources; do
            [ -f "$f" ] || continue
            awk 'BEGIN { RS = ""; ORS = "" }
                 /(^|\n)Types:[^\n]*deb([ \t]|\n|$)/ {
                     n = split($0, line, "\n")
                     for (i = 1; i <= n; i++) {
                         if (line[i] ~ /^#/) continue
                         if (line[i] ~ /^Types:/) line[i] = "Types: deb-src"
                         print line[i] "\n"
                     }
                     print "\n"
                 }' "$f"
        done
    } >/etc/apt/sources.list.d/corvane-src.sources
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] && sed -n 's/^deb\([ \t]\)/deb-src\1/p' "$f"
    done >/etc/apt/sources.list.d/corvane-src.list
    [ -s /etc/apt/sources.list.d/corvane-src.list ] || rm -f /etc/apt/sources.list.d/corvane-src.list
    [ -s /etc/apt/sources.list.d/corvane-src.sources ] || rm -f /etc/apt/sources.list.d/corvane-src.sources
    has_deb_src || { log "this machine's apt sources name no archive to take sources from"; exit 1; }
    apt-get update -qq
elif [ ${#need[@]} -gt 0 ]; then
    apt-get update -qq
fi
if [ ${#need[@]} -gt 0 ]; then
    log "installing ${need[*]}"
    apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

CC_T="$TARGET-gcc-win32 -march=i586"
CXX_T="$TARGET-g++-win32 -march=i586"
WORK=${CORVANE_RUNTIME_WORK:-/var/tmp/corvane-runtime}
rm -rf "$WORK"
mkdir -p "$WORK"

log "unpacking the sources"
(cd "$WORK" && apt-get source -qq --download-only mingw-w64 >/dev/null 2>&1) ||
    { log "could not fetch the mingw-w64 source package"; exit 1; }
tar -C "$WORK" -xf "$WORK"/mingw-w64_*.orig.tar.bz2 --wildcards '*/mingw-w64-crt/*'
CRT_SRC=$(echo "$WORK"/mingw-w64-v*/mingw-w64-crt)
[ -d "$CRT_SRC" ] || { log "no mingw-w64 source"; exit 1; }
# The runtime's look-ups of msvcrt.dll and advapi32.dll use the wide calls,
# stubs on Windows 95/98 that find nothing there.
sed -i 's/GetModuleHandleW(L"msvcrt.dll")/GetModuleHandleA("msvcrt.dll")/' "$CRT_SRC/include/msvcrt.h"
sed -i 's/LoadLibraryW(L"advapi32.dll")/LoadLibraryA("advapi32.dll")/' "$CRT_SRC/secapi/rand_s.c"

# The C runtime is configured and built beside everything else.
# (Debian's libkernel32.a and the other import libraries hold no instruction
# a Pentium lacks.)
CRT_PARTS="lib32/crt2.o lib32/libmingw32.a lib32/libmingwex.a lib32/libmsvcrt.a lib32/libmoldname.a"
mkdir -p "$WORK/crt/lib32"
# shellcheck disable=SC2086
(cd "$WORK/crt" && run_logged crt-configure "$CRT_SRC/configure" --host=$TARGET \
    --prefix="$PREFIX/$TARGET" --enable-lib32 --disable-lib64 --with-default-msvcrt=msvcrt \
    CC="$CC_T" CFLAGS="$TARGET_FLAGS" && run_logged crt make -j"$JOBS" $CRT_PARTS) &
crt_build=$!
# A step that fails ends the script: the C runtime's build ends with it,
# rather than writing on into a directory the next run removes.
kill_tree() { # pid
    local child
    for child in $(pgrep -P "$1"); do kill_tree "$child"; done
    kill "$1" 2>/dev/null || true
}
trap 'kill_tree "$crt_build"' EXIT

# Only what the libraries and the generated headers need: no test suites,
# no other languages, no other processors.
tar -C "$WORK" -xf /usr/src/gcc-12/gcc-12.2.0-dfsg.tar.xz --exclude='gcc-12.2.0/gcc/testsuite' \
    --exclude='gcc-12.2.0/libstdc++-v3/testsuite/*/*' --exclude='gcc-12.2.0/libstdc++-v3/doc/[a-wyz]*' \
    --exclude='gcc-12.2.0/gcc/'{ada,go,d,fortran,m2,po,doc,jit,objc,objcp,rust} \
    --exclude='gcc-12.2.0/gcc/config/'{aarch64,alpha,arc,arm,avr,bfin,bpf,c6x,cr16,cris,csky} \
    --exclude='gcc-12.2.0/gcc/config/'{epiphany,fr30,frv,ft32,gcn,h8300,ia64,iq2000,lm32} \
    --exclude='gcc-12.2.0/gcc/config/'{loongarch,m32c,m32r,m68k,mcore,microblaze,mips,mmix} \
    --exclude='gcc-12.2.0/gcc/config/'{mn10300,moxie,msp430,nds32,nios2,nvptx,or1k,pa,pdp11} \
    --exclude='gcc-12.2.0/gcc/config/'{pru,riscv,rl78,rs6000,rx,s390,sh,sparc,stormy16,tilegx} \
    --exclude='gcc-12.2.0/gcc/config/'{tilepro,v850,vax,visium,xtensa} \
    --exclude='gcc-12.2.0/'{libada,libbacktrace,libffi,libgfortran,libgo,libgomp,libitm,libobjc} \
    --exclude='gcc-12.2.0/'{liboffloadmic,libphobos,libquadmath,libsanitizer,libssp,libvtv,libatomic} \
    --exclude='gcc-12.2.0/'{gnattools,gotools,c++tools,zlib,lto-plugin,contrib,libcc1,libcody}
GCC_SRC=$WORK/gcc-12.2.0
# The thread library's mutexes are made with CreateSemaphoreW, a stub on
# Windows 95/98; with no name the ANSI call is the same call.
sed -i 's/CreateSemaphoreW (NULL, 0, 65535, NULL)/CreateSemaphoreA (NULL, 0, 65535, NULL)/' \
    "$GCC_SRC/libgcc/config/i386/gthr-win32.c" "$GCC_SRC/libgcc/config/i386/gthr-win32.h"

log "configuring and building libgcc and libstdc++ for the Pentium"
mkdir -p "$WORK/gcc"
cd "$WORK/gcc"
run_logged configure "$GCC_SRC/configure" --target=$TARGET --prefix="$PREFIX" \
    --with-arch=i586 --with-tune=generic \
    --with-as=/usr/bin/$TARGET-as --with-ld=/usr/bin/$TARGET-ld \
    --enable-languages=c,c++ --enable-threads=win32 --disable-sjlj-exceptions --with-dwarf2 \
    --disable-shared --enable-static --disable-multilib --disable-nls --disable-lto \
    --disable-plugin --disable-libgomp --disable-libssp --disable-libquadmath \
    --disable-libatomic --disable-libvtv --disable-libstdcxx-pch --disable-werror \
    --enable-fully-dynamic-string --enable-libstdcxx-time=yes \
    --disable-libstdcxx-filesystem-ts --disable-libstdcxx-verbose \
    CFLAGS_FOR_TARGET="$TARGET_FLAGS" CXXFLAGS_FOR_TARGET="$TARGET_FLAGS" \
    AR_FOR_TARGET=$TARGET-ar RANLIB_FOR_TARGET=$TARGET-ranlib NM_FOR_TARGET=$TARGET-nm \
    AS_FOR_TARGET=$TARGET-as LD_FOR_TARGET=$TARGET-ld \
    CFLAGS="-O2 -g0" CXXFLAGS="-O2 -g0"
# The target libraries are built with Debian's compiler instead of the one
# this tree would build, and so no longer wait for it; nor does libstdc++
# wait for libgcc (Debian's compiler links its configure tests).
sed -i -e "s#\$\$r/\$(HOST_SUBDIR)/gcc/xgcc -B\$\$r/\$(HOST_SUBDIR)/gcc/\?#$CC_T#" \
       -e "s#\$\$r/\$(HOST_SUBDIR)/gcc/xg++ -B\$\$r/\$(HOST_SUBDIR)/gcc/#$CXX_T#" \
       -e "s#\$\$r/\$(HOST_SUBDIR)/gcc/xgcc -shared-libgcc -B\$\$r/\$(HOST_SUBDIR)/gcc#$CXX_T#" \
       -e 's#^\(configure-target-[a-z0-9+-]*\): maybe-all-gcc$#\1:#' \
       -e "s#^COMPILER_\(AS\|LD\|NM\)_FOR_TARGET=.*#COMPILER_\1_FOR_TARGET=\\\$(\1_FOR_TARGET)#" \
       -e '/^configure-target-libstdc++-v3: maybe-all-target-libgcc$/d' Makefile
if grep -qE '^[A-Z_]*_FOR_TARGET=.*HOST_SUBDIR\)/gcc/' Makefile; then
    log "the target libraries still name the tree's compiler"
    exit 1
fi
# libgcc includes a few headers generated in gcc/ (the target's tm.h and the
# headers it names; their generators are small native programs), and is
# built without decimal floating point, which nothing here uses (the
# configure option for it leaves this target's libgcc half-configured).
cat >>Makefile <<'EOF'

corvane-gcc-headers: configure-gcc all-build-libiberty
	mkdir -p gcc/include
	$(MAKE) -C gcc -o xgcc -o specs libgcc.mvars tconfig.h tm.h options.h insn-constants.h version.h
configure-target-libgcc: corvane-gcc-headers
corvane-libgcc-without-dfp: configure-target-libgcc
	sed -i 's/^decimal_float = yes/decimal_float = no/' $(TARGET_SUBDIR)/libgcc/Makefile
all-target-libgcc: corvane-libgcc-without-dfp
EOF
run_logged libs make -j"$((JOBS + 1))" all-target-libgcc all-target-libstdc++-v3
wait $crt_build || exit 1
trap - EXIT

# Installed beside, then put in place: a failed install leaves the runtime
# that was there.
log "installing into $PREFIX"
STAGE=$WORK/stage
run_logged install make DESTDIR="$STAGE" install-target-libgcc install-target-libstdc++-v3
mkdir -p "$STAGE$PREFIX/bin" "$STAGE$PREFIX/$TARGET/lib"
for part in $CRT_PARTS; do
    cp "$WORK/crt/$part" "$STAGE$PREFIX/$TARGET/lib/"
done
LIBGCC_DIR=$PREFIX/lib/gcc/$TARGET/12.2.0
CXX_INC=$PREFIX/$TARGET/include/c++/12.2.0
[ -f "$STAGE$LIBGCC_DIR/libgcc.a" ] && [ -f "$STAGE$PREFIX/$TARGET/lib/libstdc++.a" ] &&
    [ -d "$STAGE$CXX_INC" ] || { log "the libraries are not where the wrappers look"; exit 1; }
rm -rf "$PREFIX.old"
if [ -e "$PREFIX" ]; then mv "$PREFIX" "$PREFIX.old"; fi
mkdir -p "$(dirname "$PREFIX")"
mv "$STAGE$PREFIX" "$PREFIX"
rm -rf "$PREFIX.old"
# The unwinder is in libgcc.a (no shared libgcc); an empty libgcc_eh.a keeps
# the driver's -lgcc_eh from reaching Debian's Pentium Pro copy.
$TARGET-ar rc "$LIBGCC_DIR/libgcc_eh.a"
# -B puts these libraries and start-up objects ahead of Debian's own.
cat >"$PREFIX/bin/$TARGET-gcc" <<EOF
#!/bin/sh
exec /usr/bin/$TARGET-gcc-win32 -march=i586 -B$LIBGCC_DIR/ -B$PREFIX/$TARGET/lib/ "\$@"
EOF
cat >"$PREFIX/bin/$TARGET-g++" <<EOF
#!/bin/sh
exec /usr/bin/$TARGET-g++-win32 -march=i586 -B$LIBGCC_DIR/ -B$PREFIX/$TARGET/lib/ \\
    -nostdinc++ -isystem $CXX_INC -isystem $CXX_INC/$TARGET -isystem $CXX_INC/backward "\$@"
EOF
chmod +x "$PREFIX/bin/$TARGET-gcc" "$PREFIX/bin/$TARGET-g++"

echo "$STAMP" >"$PREFIX/.stamp"
cd /
rm -rf "$WORK"
log "done in $(($(date +%s) - started)) s: $PREFIX"
