#!/usr/bin/env bash
# Takes docs/windows-window.png: the Windows program's main window under Wine
# in a throwaway prefix and X server, with the Updates folder already stored so
# that no prompt appears.
# Usage: scripts/screenshot-windows.sh [build folder]   (default: build-windows;
# builds nothing). SHOT_DIR=folder writes the picture there instead of docs/.
set -euo pipefail
cd "$(dirname "$0")/.."
exe=$(realpath "${1:-build-windows}/brinevar.exe")
out=$(realpath -m "${SHOT_DIR:-docs}")
[ -f "$exe" ] || { echo "no $exe: build first (scripts/build-windows.sh)" >&2; exit 1; }

. scripts/packages.sh
ensure_packages wine wine64 xvfb xdotool python3 imagemagick

. scripts/wine-session.sh
trap wine_session_stop EXIT
wine_session_start x
fail() { echo "$*" >&2; exit 1; }
. tests/xtest.sh

mkdir -p "$WINEPREFIX/drive_c/Brinevar" "$out"
cp "$exe" "$WINEPREFIX/drive_c/Brinevar/"
# shellcheck disable=SC1003 # a Windows path ending in a backslash
wine reg add 'HKCU\Software\Brinevar\Brinevar\MZTPath' /v Path /d 'C:\Updates\' /f >/dev/null 2>&1
(cd "$WINEPREFIX/drive_c/Brinevar" && exec wine brinevar.exe) >/dev/null 2>&1 &
pid=$!
main=$(wait_window Brinevar)
sleep 2 # let it paint
import -window "$main" "$out/windows-window.png"
send_close_request "$main"
wait "$pid"
echo "wrote $out/windows-window.png"
