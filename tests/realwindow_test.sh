#!/usr/bin/env bash
# The real program under Xvfb, driven by real X input (xdotool), with a home
# and XDG folders of its own and a copy of the executable in a folder of its
# own, so that neither the user's settings store nor the build folder is
# written.
#
#   1. First start: answers the Updates folder prompt, types into two fields,
#      clicks "Set To Default", types into one field, clicks "Save and Exit";
#      tanks.cfg and tanks.ini must hold the expected text byte for byte.
#   2. With a stored path: types 18 into Text7 and clicks "Save and Exit"; the
#      range check's message box titled "Brinevar" must appear, close on
#      Return and leave the program running with no file written; closing
#      the main window must end it, still with no file written.
#   3. A Cyrillic letter typed into initialSalinity, which tanks.cfg cannot
#      hold: Save and Exit shows the message box and leaves the program
#      running and both former files as they were.
#   4. At twice the scale on the 1280x1024 screen: the window, too big for
#      the screen, is drawn smaller until it lies whole on it.
#   5. First start with the game in a Lutris prefix (a program named
#      ZOO.EXE): the prompt offers its Updates folder, and OK stores it.
#   6. First start beside the game's own tanks.cfg and no tanks.ini: the
#      fields show its values, which Save and Exit writes, and its text is
#      kept as tanks.cfg.original.
#
# There is no window manager, so the test does what one would: it gives
# windows the keyboard focus (xdotool windowfocus; windowactivate needs a
# window manager), and it closes the main window by sending it the
# WM_DELETE_WINDOW message that a close box sends (scripts/close-window.py:
# xdotool windowclose only destroys the X window, which leaves the
# program running, and alt+F4 needs a window manager).
#
# Usage: realwindow_test.sh path/to/brinevar
# Exit status 77 (skipped) when xvfb-run, xauth, xdotool or python3 is missing.
set -euo pipefail

exe=${1:?usage: realwindow_test.sh path/to/brinevar}
exe=$(realpath "$exe")
repo=$(cd "$(dirname "$0")/.." && pwd)

if [ -z "${REALWINDOW_DISPLAY_READY:-}" ]; then
    for tool in xvfb-run xauth xdotool python3; do
        if ! command -v "$tool" >/dev/null; then
            echo "SKIP: $tool is not installed"
            exit 77
        fi
    done
    # No reset when the last client leaves: the next start would race it.
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" env REALWINDOW_DISPLAY_READY=1 bash "$0" "$exe"
fi

# shellcheck source=tests/xtest.sh
. "$repo/tests/xtest.sh"

work=$(mktemp -d)
pid=
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    echo "visible windows:" >&2
    for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
        echo "  $w $(xdotool getwindowname "$w" 2>/dev/null)" >&2
    done
    if command -v import >/dev/null; then
        import -window root "$PWD/realwindow_test-failure.png" 2>/dev/null &&
            echo "screenshot: $PWD/realwindow_test-failure.png" >&2
    fi
    [ -f "$work/brinevar.log" ] && sed 's/^/  program: /' "$work/brinevar.log" >&2
    exit 1
}

# A sandbox of its own for each case: home, XDG folders, program folder
# holding a copy of the executable, and an Updates folder.
new_sandbox() {
    box=$work/$1
    mkdir -p "$box/home" "$box/config" "$box/data" "$box/cache" "$box/runtime" "$box/program" \
        "$box/updates"
    chmod 700 "$box/runtime"
    cp "$exe" "$box/program/brinevar"
}

# Under LeakSanitizer: libdbus, which Qt's X11 platform uses, keeps a buffer
# to the end; the program's own memory is still checked.
printf 'leak:libdbus-1.so\n' >"$work/lsan.supp"
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$work/lsan.supp"

# Starts the program; arguments VAR=value are added to its environment.
start_program() {
    env -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS \
        HOME="$box/home" XDG_CONFIG_HOME="$box/config" XDG_DATA_HOME="$box/data" \
        XDG_CACHE_HOME="$box/cache" XDG_RUNTIME_DIR="$box/runtime" QT_QPA_PLATFORM=xcb "$@" \
        "$box/program/brinevar" >"$work/brinevar.log" 2>&1 &
    pid=$!
}

# Stores the sandbox's Updates folder, so that no prompt comes.
store_updates_folder() {
    mkdir -p "$box/config/Brinevar"
    printf '[MZTPath]\nPath=%s/updates/\n' "$box" >"$box/config/Brinevar/Brinevar.conf"
}

# Answers a first start's folder prompt with the sandbox's Updates folder.
answer_folder_prompt() {
    prompt=$(wait_window "Folder Path")
    xdotool windowfocus --sync "$prompt"
    xdotool key ctrl+a
    xdotool type --delay 5 -- "$box/updates/"
    xdotool key Return
    poll 15 count_is "Folder Path" 0 || fail "the prompt stayed open"
}

running() { kill -0 "$pid" 2>/dev/null; }
ended() { ! running; }

# The settings file with the default values and waterPurityDecayTime 450.
expected_settings() {
    printf '%s\r\n' '[cost]' 'saltWater = 1.5' 'freshWater = 1.0' 'wallHeightPriceDivisor = 5' \
        '[tank]' 'initialSink = 5' 'initialHeight = 5' 'initialSinkShow = 8' \
        'initialHeightShow = 9' 'initialWaterLevel = 0' 'initialFillState = 1' \
        'initialSalinity = 100' 'initialTemperature = 0' 'maximumTankHeight = 20' \
        'waterOffset = -1' 'tankTerrain = 2' 'tankTerrainShow = 17' 'initialWaterPurity = 100' \
        'murkyWaterPurity = 60' 'veryMurkyWaterPurity = 20' 'extremelyMurkyWaterPurity = 1' \
        'waterPurityDecayTime = 450'
}

no_settings_written() {
    [ ! -e "$box/updates/tanks.cfg" ] || fail "$1: tanks.cfg was written"
    [ ! -e "$box/program/tanks.ini" ] || fail "$1: tanks.ini was written"
    [ -z "$(ls -A "$box/updates")" ] || fail "$1: something was written into the Updates folder"
}

echo "== case 1: first start, Set To Default, Save and Exit"
new_sandbox first-start
start_program
answer_folder_prompt
main=$(wait_window Brinevar)
xdotool windowfocus --sync "$main"
type_into_field 2280 1200 7.25 # saltWater (Text1)
type_into_field 2280 4800 9    # initialSink (Text19)
click_set_to_default
type_into_field 9720 4440 450 # waterPurityDecayTime (Text6)
click_save_and_exit
poll 15 ended || fail "Save and Exit did not end the program"
wait "$pid" || fail "the program ended with status $?"
pid=
expected_settings >"$work/expected.cfg"
cmp "$work/expected.cfg" "$box/updates/tanks.cfg" || fail "tanks.cfg differs from the expected text"
cmp "$work/expected.cfg" "$box/program/tanks.ini" || fail "tanks.ini differs from the expected text"
grep -qxF "Path=$box/updates/" "$box/config/Brinevar/Brinevar.conf" ||
    fail "the typed Updates folder was not stored"
echo "ok: tanks.cfg and tanks.ini are the expected 22 lines; the folder is stored"

echo "== case 2: a refused Text7 stops Save and Exit; closing writes nothing"
new_sandbox refused
store_updates_folder
start_program
main=$(wait_window Brinevar)
xdotool windowfocus --sync "$main"
type_into_field 8640 5520 18 # tankTerrain (Text7)
click_save_and_exit
close_message_box "no message box titled Brinevar appeared"
windows_titled Brinevar | grep -qx "$main" || fail "the main window is gone"
running || fail "the program ended after the refusal"
no_settings_written "after the refusal"
echo "ok: the message box appeared and closed; the program runs; no file was written"
send_close_request "$main"
poll 15 ended || fail "closing the main window did not end the program"
wait "$pid" || fail "the program ended with status $? after its window was closed"
pid=
no_settings_written "after closing the window"
echo "ok: closing the main window ended the program without writing a file"

echo "== case 3: a letter that tanks.cfg cannot hold stops Save and Exit; the files stay"
new_sandbox unstorable
store_updates_folder
printf 'former cfg' >"$box/updates/tanks.cfg"
printf 'former ini' >"$box/program/tanks.ini"
start_program
main=$(wait_window Brinevar)
xdotool windowfocus --sync "$main"
# xdotool reads its text in the locale's character set.
LC_ALL=C.UTF-8 type_into_field 5880 3480 "ж" # initialSalinity (Text13)
click_save_and_exit
close_message_box "no message box titled Brinevar appeared"
running || fail "the program ended after the refusal"
[ "$(cat "$box/updates/tanks.cfg")" = "former cfg" ] || fail "tanks.cfg changed"
[ "$(cat "$box/program/tanks.ini")" = "former ini" ] || fail "tanks.ini changed"
[ "$(ls -A "$box/updates")" = tanks.cfg ] || fail "something else was written into the Updates folder"
send_close_request "$main"
poll 15 ended || fail "closing the main window did not end the program"
wait "$pid" || fail "the program ended with status $? after its window was closed"
pid=
echo "ok: the message box appeared; the program ran on; both files stayed as they were"

echo "== case 4: at twice the scale the window, too big for the screen, is drawn smaller to fit it"
new_sandbox scaled
store_updates_folder
start_program QT_SCALE_FACTOR=2
main=$(wait_window Brinevar)
# shellcheck disable=SC2034 # SCREEN is set along with the others, unused
eval "$(xdotool getwindowgeometry --shell "$main")"
read -r screen_width screen_height < <(xdotool getdisplaygeometry)
# 792 x 544 logical pixels would be 1584 x 1088 on the screen.
if [ "$WIDTH" -ge 1584 ] || [ "$X" -lt 0 ] || [ "$Y" -lt 0 ] ||
    [ $((X + WIDTH)) -gt "$screen_width" ] || [ $((Y + HEIGHT)) -gt "$screen_height" ]; then
    fail "the window ${WIDTH}x$HEIGHT at $X,$Y does not fit the ${screen_width}x$screen_height screen"
fi
send_close_request "$main"
poll 15 ended || fail "closing the scaled window did not end the program"
wait "$pid" || fail "the program ended with status $? after its window was closed"
pid=
echo "ok: the window, ${WIDTH}x$HEIGHT, lies whole on the screen"

echo "== case 5: first start with the game in a launcher's prefix offers its Updates folder"
new_sandbox launcher
game="$box/home/Games/zoo-tycoon/drive_c/Program Files (x86)/Microsoft Games/Zoo Tycoon"
mkdir -p "$game/Updates" "$box/home/Games/other/drive_c/Program Files/Microsoft Games/Zoo Tycoon/Updates"
echo MZ >"$game/ZOO.EXE"
start_program
prompt=$(wait_window "Folder Path")
xdotool windowfocus --sync "$prompt"
xdotool key Return
poll 15 count_is "Folder Path" 0 || fail "the prompt stayed open"
main=$(wait_window Brinevar)
send_close_request "$main"
poll 15 ended || fail "closing the main window did not end the program"
wait "$pid" || fail "the program ended with status $? after its window was closed"
pid=
grep -qxF "Path=$game/Updates/" "$box/config/Brinevar/Brinevar.conf" ||
    fail "the game's Updates folder was not the answer: $(grep Path= "$box/config/Brinevar/Brinevar.conf")"
echo "ok: the prompt offered the Updates folder of the game in ~/Games, and OK stored it"

echo "== case 6: a first start shows the game's own tanks.cfg, and Save and Exit keeps its text"
new_sandbox game-file
# As a player or another tool may have left it: other spellings, LF line ends.
printf '[Cost]\nSALTWATER=2.5\n[tank]\ninitialSink = 3\ntankTerrainShow=17\nwaterPurityDecayTime = 450\n' \
    >"$box/updates/tanks.cfg"
cp "$box/updates/tanks.cfg" "$work/game.cfg"
start_program
answer_folder_prompt
main=$(wait_window Brinevar)
click_save_and_exit
poll 15 ended || fail "Save and Exit did not end the program"
wait "$pid" || fail "the program ended with status $?"
pid=
expected_settings | sed 's/^saltWater = 1.5/saltWater = 2.5/; s/^initialSink = 5/initialSink = 3/' \
    >"$work/expected.cfg"
cmp "$work/expected.cfg" "$box/updates/tanks.cfg" || fail "tanks.cfg does not hold the game's values"
cmp "$work/expected.cfg" "$box/program/tanks.ini" || fail "tanks.ini does not hold the game's values"
cmp "$work/game.cfg" "$box/updates/tanks.cfg.original" || fail "the game's text was not kept"
echo "ok: the fields showed the game's values; its text is kept as tanks.cfg.original"
