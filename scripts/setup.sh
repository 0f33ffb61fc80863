#!/usr/bin/env bash
# Makes sure this Debian machine has what the build and the tests need.
# As root it installs what is missing; otherwise it prints the one apt-get
# line to run and fails.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
source scripts/wine-env.sh
source scripts/machine.sh

packages=()
need() {  # need PACKAGE TEST...
    local package=$1
    shift
    "$@" >/dev/null 2>&1 || packages+=("$package")
}
need cmake            command -v cmake
need ninja-build      command -v ninja
need g++              command -v g++
need libgtest-dev     test -f /usr/include/gtest/gtest.h
need googletest       test -f /usr/src/googletest/CMakeLists.txt
need mingw-w64        command -v x86_64-w64-mingw32-g++-posix
need wine64           test -x /usr/lib/wine/wine64
need wine             command -v wineserver
# The runner is 32-bit (the HSP compiler is): Wine runs it in the same
# 64-bit prefix once its 32-bit half is there.
need wine32:i386      sh -c 'dpkg-query -W -f="\${Status}" wine32:i386 | grep -q "ok installed"'
need gcc-mingw-w64-i686 command -v i686-w64-mingw32-g++-posix
need python3          command -v python3
need clang            command -v clang++
need valgrind         command -v valgrind
need libbenchmark-dev test -f /usr/include/benchmark/benchmark.h
# libFuzzer and the sanitizer runtimes for the sanitize preset.
need libclang-rt-dev  sh -c 'ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a'
need locales          command -v locale-gen

# Wine takes the Windows ANSI code page from the locale: the Japanese one
# gives 932, the code page of the plug-in's users; Hindi, which has no ANSI
# code page of its own, gives 65001 (Windows' UTF-8 option) beside a
# Japanese LANG.
locales_needed=(ja_JP hi_IN)
has_locale() { locale -a 2>/dev/null | grep -qi "^$1\.utf-\?8$"; }
has_locales() { for name in "${locales_needed[@]}"; do has_locale "$name" || return 1; done; }

if [ ${#packages[@]} -eq 0 ] && has_locales; then
    know_the_machine
    exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages or the ja_JP.UTF-8 and hi_IN.UTF-8 locales. Run:" >&2
    [ ${#packages[@]} -eq 0 ] ||
        echo "  sudo dpkg --add-architecture i386 && sudo apt-get update && sudo apt-get install -y --no-install-recommends ${packages[*]}" >&2
    echo "  sudo sed -i 's/^# *\\(ja_JP\\|hi_IN\\).UTF-8 UTF-8/\\1.UTF-8 UTF-8/' /etc/locale.gen && sudo locale-gen" >&2
    exit 1
fi
if [ ${#packages[@]} -ne 0 ]; then
    echo "Installing: ${packages[*]}"
    export DEBIAN_FRONTEND=noninteractive
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    apt-get update -q >/dev/null
    apt-get install -y -q --no-install-recommends "${packages[@]}" >/dev/null
fi
if ! has_locales; then
    echo "Generating the ${locales_needed[*]/%/.UTF-8} locales"
    for name in "${locales_needed[@]}"; do
        grep -q "^$name.UTF-8 UTF-8" /etc/locale.gen 2>/dev/null ||
            sed -i "s/^# *$name.UTF-8 UTF-8/$name.UTF-8 UTF-8/" /etc/locale.gen
        grep -q "^$name.UTF-8 UTF-8" /etc/locale.gen || echo "$name.UTF-8 UTF-8" >>/etc/locale.gen
    done
    locale-gen >/dev/null
fi
know_the_machine
