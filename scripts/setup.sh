#!/bin/bash
# Installs what the build and the tests need, if it is missing: 32-bit Wine,
# the mingw-w64 cross compiler, CMake, Ninja, Xvfb, ImageMagick, GoogleTest,
# halibut (writes the help file), clang with its fuzzer and sanitizer
# runtimes, clang-format (the format check of test.sh), and Wine's own fonts:
# without them (they are only a recommended package) every caption button and
# the system menu show letters instead of symbols. Then, once, the Pentium cross compiler and runtime (runtime.sh).
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
for pkg in wine wine32:i386 fonts-wine binutils-mingw-w64-i686 \
           mingw-w64-i686-dev cmake ninja-build xvfb xauth x11-utils imagemagick \
           googletest python3 g++ halibut clang clang-format libclang-rt-14-dev; do
    have "$pkg" || need+=("$pkg")
done
if [ ${#need[@]} -gt 0 ]; then
    echo "setup: installing ${need[*]} (a few minutes on a fresh machine)"
    export DEBIAN_FRONTEND=noninteractive
    if ! dpkg --print-foreign-architectures | grep -q i386; then
        dpkg --add-architecture i386
    fi
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi
"$(dirname "$0")/runtime.sh"
