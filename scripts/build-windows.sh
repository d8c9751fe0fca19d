#!/usr/bin/env bash
# Builds the Windows program with MinGW-w64 on Debian: build-windows/brinevar.exe
# (64-bit, statically linked) and build-windows/brinevar-<version>-windows-x64.zip
# holding it with README and LICENSE. Installs the packages it needs first.
# Usage: scripts/build-windows.sh [build folder]   (default: build-windows)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
build=${1:-build-windows}

ensure_packages cmake ninja-build g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DBRINEVAR_QT_FREE_ONLY=ON -DBRINEVAR_BENCH=ON -DBUILD_TESTING=OFF \
    -DBRINEVAR_WERROR="${BRINEVAR_WERROR:-OFF}"
cmake --build "$build" -j2 --target brinevar windows_zip

# Only the system's own DLLs: a MinGW runtime DLL here would not be on a
# player's machine.
allowed='^(kernel32|user32|gdi32|comctl32|advapi32|shell32|comdlg32|ole32|msvcrt|shcore)\.dll$'
dlls=$(x86_64-w64-mingw32-objdump -p "$build/brinevar.exe" | sed -n 's/^\s*DLL Name: //p')
if bad=$(printf '%s\n' "$dlls" | tr '[:upper:]' '[:lower:]' | grep -Ev "$allowed"); then
    echo "brinevar.exe needs DLLs that Windows does not have: $bad" >&2
    exit 1
fi
ls -l "$build"/brinevar.exe "$build"/brinevar-*-windows-x64.zip
