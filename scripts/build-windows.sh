#!/usr/bin/env bash
# Builds the Windows program with MinGW-w64 on Debian, for 64-bit and for
# 32-bit Windows (each statically linked, with the same resources), and the
# zips that players download:
#   build-windows/brinevar.exe, build-windows/brinevar-<version>-windows-x64.zip
#   build-windows-x86/brinevar.exe, build-windows/brinevar-<version>-windows-x86.zip
#   build-windows/SHA256SUMS, the SHA-256 sums of the two zips
# Fails when a program needs anything that Windows 7 SP1 lacks. Installs the
# packages it needs first.
# Usage: scripts/build-windows.sh [build folder]   (default: build-windows;
#        the 32-bit program is built in the same name followed by -x86)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
build=${1:-build-windows}

ensure_packages cmake ninja-build g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 \
    g++-mingw-w64-i686 binutils-mingw-w64-i686 fonts-liberation python3

# Only the system's own DLLs, as Windows 7 SP1 has them: a MinGW runtime DLL
# would not be on a player's machine, and the Universal CRT, shcore and the
# api-ms-win-* sets are not on Windows 7. oleacc and oleaut32 serve screen
# readers alone: the program loads them from the system folder when first
# asked, so that start-up does not pay for them.
allowed_dlls='^(kernel32|user32|gdi32|comctl32|advapi32|shell32|comdlg32|ole32|msvcrt)\.dll$'
# Calls that came after Windows 7: the per-monitor DPI calls (looked up at
# run time instead), and what newer runtimes like to import.
later_calls='(ForDpi|DpiAwareness|^GetDpiFor|PerMonitorDPI|^GetSystemDpiForProcess$|^EnableNonClientDpiScaling$'
later_calls+='|^GetSystemTimePreciseAsFileTime$|^CreateFile2$|^CopyFile2$|^WaitOnAddress$|^WakeByAddress'
later_calls+='|^GetCurrentThreadStackLimits$|^[GS]etThreadDescription$|SynchronizationBarrier$'
later_calls+='|^PrefetchVirtualMemory$|^GetOverlappedResultEx$|FromApp$|^GetPointer|^GetCurrentPackage'
later_calls+='|^AppPolicy|^VirtualAlloc2)'

# Each imported function as "dll function", in small letters for the DLL.
imports() {
    "$1"-objdump -p "$2" | awk '
        /DLL Name:/ { dll = tolower($3); print dll, "-"; next }
        /^[^ \t]/ { dll = "" }
        dll != "" && /^\t[0-9a-f]+\t/ && NF == 3 { print dll, $3 }'
}

check_imports() {
    local triplet=$1 exe=$2 list bad
    list=$(imports "$triplet" "$exe")
    [ -n "$list" ] || { echo "no imports read from $exe" >&2; return 1; }
    if bad=$(awk '{ print $1 }' <<<"$list" | sort -u | grep -Ev "$allowed_dlls"); then
        echo "$exe needs DLLs that Windows 7 SP1 does not have: $bad" >&2
        return 1
    fi
    bad=$(awk -v later="$later_calls" '$2 != "-" && $2 ~ later { print $1 ": " $2 }' <<<"$list")
    if [ -n "$bad" ]; then
        echo "$exe imports calls that Windows 7 SP1 does not have:" >&2
        echo "$bad" >&2
        return 1
    fi
}

build_for() {
    local folder=$1 toolchain=$2 triplet=$3
    cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/$toolchain.cmake" \
        -DBRINEVAR_QT_FREE_ONLY=ON -DBRINEVAR_BENCH=ON -DBUILD_TESTING=OFF \
        -DBRINEVAR_WERROR="${BRINEVAR_WERROR:-OFF}"
    cmake --build "$folder" -j2 --target brinevar barewindow windows_zip
    check_imports "$triplet" "$folder/brinevar.exe"
    check_imports "$triplet" "$folder/barewindow.exe"
}

build_for "$build" mingw-w64-x86_64 x86_64-w64-mingw32
build_for "$build-x86" mingw-w64-i686 i686-w64-mingw32
# Both zips side by side, where a release picks them up, with their sums
# for players to check a download against (README.txt says how).
cp "$build-x86"/brinevar-*-windows-x86.zip "$build/"
(cd "$build" && sha256sum brinevar-*-windows-x64.zip brinevar-*-windows-x86.zip >SHA256SUMS)
ls -l "$build"/brinevar.exe "$build-x86"/brinevar.exe "$build"/brinevar-*-windows-x*.zip \
    "$build"/SHA256SUMS
