#!/usr/bin/env bash
# Makes sure this Debian machine has what the build and the tests need.
# As root it installs what is missing; otherwise it prints the one apt-get
# line to run and fails.
set -euo pipefail

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
need python3          command -v python3

[ ${#packages[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Run:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends ${packages[*]}" >&2
    exit 1
fi
echo "Installing: ${packages[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q >/dev/null
apt-get install -y -q --no-install-recommends "${packages[@]}" >/dev/null
