#!/usr/bin/env bash
# How long brinevar.exe takes under Wine to show its window, against the
# floor: a bare Win32 program that shows the same window with the same 32
# standard controls (20 edits, 11 buttons, the list with its 18 items) and
# nothing else, built and linked the same way with the same manifest. Both are
# built by scripts/build-windows.sh and started in turn, in pairs, in one fresh
# Wine prefix under Xvfb, each timed from the start to the X window mapped.
# Wine's start-up varies about twofold from run to run, hence the medians of
# many pairs. Prints figures; it is not a test.
# Usage: bench/wine-startup.sh [pairs] [x64|x86]   (default: 40 x64)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-40}
build=build-windows
[ "${2:-x64}" = x64 ] || build=build-windows-${2}

bash scripts/build-windows.sh >/dev/null
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
