#!/usr/bin/env bash
# Builds the Qt-free core and the Windows program for 64-bit Windows with
# MinGW-w64 and runs their tests under Wine: the core's against values put
# into a fresh Wine registry, the program's real window (tests/windows_test.sh)
# in a prefix and an X server of its own.
# Usage: scripts/wine-test.sh [build folder]   (default: build-wine)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
build=${1:-build-wine}

packages=(cmake ninja-build g++-mingw-w64-x86-64 googletest wine wine64 xvfb xdotool python3)
ensure_packages "${packages[@]}"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DBRINEVAR_QT_FREE_ONLY=ON -DBRINEVAR_BENCH=OFF \
    -DBRINEVAR_GTEST_SOURCE=/usr/src/googletest -DBRINEVAR_WERROR="${BRINEVAR_WERROR:-OFF}"
cmake --build "$build" -j2

# UTF-8 file names on this side; Wine then gives Windows the code page 1252,
# which the tests of non-ASCII text expect.
export LC_ALL=C.UTF-8
# A throwaway Wine prefix, and an X server for the tests that make windows.
. scripts/wine-session.sh
trap wine_session_stop EXIT
wine_session_start x

# The entries the about box reads. The folder ends in a backslash and holds a
# non-ASCII letter, and a file MSINFO32.EXE lies in it.
export BRINEVAR_WINE_TOOL='C:\Program Files\Common Files\Microsoft Shared\MSInfo\msinfo32.exe'
# shellcheck disable=SC1003 # a Windows folder ending in a backslash
export BRINEVAR_WINE_FOLDER='C:\brinevar\Zürich\'
export BRINEVAR_WINE_NUMBER=4294967294
mkdir -p "$WINEPREFIX/drive_c/brinevar/Zürich"
echo MZ >"$WINEPREFIX/drive_c/brinevar/Zürich/MSINFO32.EXE"
tool_key='HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO'
location_key='HKLM\SOFTWARE\Microsoft\Shared Tools Location'
# Into the 64-bit programs' view of HKLM\SOFTWARE: "wine reg" may be the
# 32-bit reg.exe, whose writes land in WOW6432Node.
reg_add() { wine reg add "$@" /reg:64 /f >/dev/null; }
reg_add "$tool_key" /v PATH /t REG_SZ /d "$BRINEVAR_WINE_TOOL"
reg_add "$tool_key" /v BrinevarNumber /t REG_DWORD /d "$BRINEVAR_WINE_NUMBER"
reg_add "$tool_key" /v BrinevarExpand /t REG_EXPAND_SZ /d '%SystemRoot%\msinfo32.exe'
reg_add "$tool_key" /v BrinevarEmpty /t REG_BINARY
reg_add "$location_key" /v MSINFO /t REG_SZ /d "$BRINEVAR_WINE_FOLDER"

ctest --test-dir "$build" --output-on-failure
