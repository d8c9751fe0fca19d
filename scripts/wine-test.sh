#!/usr/bin/env bash
# Builds the Qt-free core and the Windows program with MinGW-w64, for 64-bit
# and for 32-bit Windows, and runs their tests under Wine: the core's against
# values put into a fresh Wine registry, the program's real window
# (tests/windows_test.sh, and as user nobody its offer to save as
# administrator, tests/windowsoffer_test.sh) in a prefix and an X server of
# its own. The 32-bit run has Wine tell the programs that it is Windows 7;
# the 64-bit one keeps Wine's own Windows 10.
# Usage: scripts/wine-test.sh [build folder]   (default: build-wine; the
#        32-bit build goes into the same name followed by -x86)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
build=${1:-build-wine}

packages=(cmake ninja-build g++-mingw-w64-x86-64 g++-mingw-w64-i686 googletest wine wine64
    xvfb xdotool python3 fonts-liberation)
ensure_packages "${packages[@]}"
ensure_wine32

# UTF-8 file names on this side; Wine then gives Windows the code page 1252,
# which the tests of non-ASCII text expect.
export LC_ALL=C.UTF-8
. scripts/wine-session.sh
trap wine_session_stop EXIT

# Builds into folder $1 with toolchain $2 and runs the tests there, in a
# throwaway Wine prefix (told it is Windows $3) with an X server of its own.
test_in() {
    local folder=$1 toolchain=$2
    cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/$toolchain.cmake" \
        -DBRINEVAR_QT_FREE_ONLY=ON -DBRINEVAR_BENCH=OFF \
        -DBRINEVAR_GTEST_SOURCE=/usr/src/googletest -DBRINEVAR_WERROR="${BRINEVAR_WERROR:-OFF}"
    cmake --build "$folder" -j2
    export BRINEVAR_WINE_VERSION=$3
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
    # In both views of the registry: the 64-bit programs read one, the 32-bit
    # ones the other, and `wine reg` may be either.
    reg_add() {
        wine reg add "$@" /reg:64 /f >/dev/null
        wine reg add "$@" /reg:32 /f >/dev/null
    }
    reg_add "$tool_key" /v PATH /t REG_SZ /d "$BRINEVAR_WINE_TOOL"
    reg_add "$tool_key" /v BrinevarNumber /t REG_DWORD /d "$BRINEVAR_WINE_NUMBER"
    reg_add "$tool_key" /v BrinevarExpand /t REG_EXPAND_SZ /d '%SystemRoot%\msinfo32.exe'
    reg_add "$tool_key" /v BrinevarEmpty /t REG_BINARY
    reg_add "$location_key" /v MSINFO /t REG_SZ /d "$BRINEVAR_WINE_FOLDER"

    ctest --test-dir "$folder" --output-on-failure
    wine_session_stop
}

test_in "$build" mingw-w64-x86_64 win10
test_in "$build-x86" mingw-w64-i686 win7
