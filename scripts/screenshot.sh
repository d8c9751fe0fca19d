#!/usr/bin/env bash
# Takes the pictures of the program's windows in docs/ under a virtual X
# server, with a throwaway settings store so that no prompt appears.
# Usage: scripts/screenshot.sh [build folder]   (default: build; builds nothing)
# SHOT_DIR=folder writes the pictures there instead of docs/; QT_SCALE_FACTOR=2
# takes them at twice the scale.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
out=$(realpath -m "${SHOT_DIR:-docs}")
app="$build/qt/brinevar"
[ -x "$app" ] || { echo "no $app: build first (scripts/build.sh)" >&2; exit 1; }

if [ -z "${BRINEVAR_SHOT_INNER:-}" ]; then
    . scripts/packages.sh
    ensure_packages xvfb xauth xdotool imagemagick
    # Re-run inside a fresh X server; everything below runs there.
    exec env BRINEVAR_SHOT_INNER=1 xvfb-run -a -s "-screen 0 2560x1600x24" "$0" "$build"
fi

work=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
mkdir -p "$HOME" "$XDG_CONFIG_HOME/Brinevar" "$XDG_DATA_HOME" "$work/updates"
# The Updates folder is already known, so the window opens without asking.
printf '[MZTPath]\nPath=%s/\n' "$work/updates" >"$XDG_CONFIG_HOME/Brinevar/Brinevar.conf"

# Starts the program, waits for a window named $1, lets `prepare` (a shell
# command, may be empty) act on its id, and saves it as $out/$2.
shot() {
    local title=$1 file=$2 prepare=${3:-} id=
    "$app" &
    pid=$!
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n1) && [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] || { echo "no window named $title" >&2; exit 1; }
    [ -z "$prepare" ] || eval "$prepare"
    sleep 1 # let it paint
    mkdir -p "$out"
    import -window "$id" "$out/$file"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "wrote $out/$file"
}

# Clicks the "About" caption at the main window's top right and makes the about
# box the window to take.
open_about() {
    local x y about=
    read -r x y < <(awk -v s="${QT_SCALE_FACTOR:-1}" 'BEGIN { print int(748 * s), int(8 * s) }')
    xdotool mousemove --window "$id" "$x" "$y" click 1
    for _ in $(seq 50); do
        about=$(xdotool search --onlyvisible --name '^About Brinevar$' 2>/dev/null | head -n1) &&
            [ -n "$about" ] && break
        sleep 0.1
    done
    [ -n "$about" ] || { echo "no about box" >&2; exit 1; }
    id=$about
}

shot Brinevar main-window.png
shot Brinevar about-box.png open_about
