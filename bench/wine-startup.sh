#!/usr/bin/env bash
# How long brinevar.exe takes under Wine to show its window, against a bare
# Win32 program that shows one window of the same size with one label: both
# built by scripts/build-windows.sh, started in turn in one fresh Wine prefix
# under Xvfb, timed from the start to the X window mapped. Prints figures; it
# is not a test. Both load version 6 of the common controls (the label too is
# one of its classes). Most of what brinevar.exe takes beyond the bare window
# is making its 32 fields, buttons and list, about 1 ms each under Wine and
# half as much again as version 6 controls; the rest is its icon, the font
# fit, the DLLs behind its folder look-ups and reading tanks.ini.
# Usage: bench/wine-startup.sh [runs]   (default: 15)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
build="build-windows"

bash scripts/build-windows.sh "$build" >/dev/null
cmake --build "$build" -j2 --target barewindow >/dev/null
. scripts/wine-session.sh
trap wine_session_stop EXIT
wine_session_start x

# A program folder with a tanks.ini, and the Updates folder already stored, so
# that brinevar.exe shows its window at once.
program=$wine_session/program
mkdir -p "$program" "$wine_session/updates"
cp "$build/brinevar.exe" "$build/barewindow.exe" "$program/"
printf '%s\r\n' '[cost]' 'saltWater = 1.5' '[tank]' 'tankTerrain = 2' >"$program/tanks.ini"
# shellcheck disable=SC1003 # a Windows path ending in a backslash
wine reg add 'HKCU\Software\Brinevar\Brinevar\MZTPath' /v Path /d 'C:\updates\' /f >/dev/null

python3 bench/wine_startup.py "$runs" "$program/brinevar.exe" "$program/barewindow.exe"
