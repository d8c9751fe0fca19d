#!/usr/bin/env bash
# Windows paths end in a backslash inside single quotes here.
# shellcheck disable=SC1003

# The real brinevar.exe under Wine, in a fresh Wine prefix under Xvfb, driven
# by real X input (xdotool). The expected files come from the core's writer
# (writesettings.exe), so they are the bytes the Qt build writes for the same
# input.
#
#   1. First start: answers the folder prompt, types into two fields, clicks
#      "Set To Default", types into a third, clicks "Save and Exit": both
#      files as expected, the folder in the registry.
#   2. Second start: no prompt. Text7 = 18 refused on Tab and on a click on
#      "Save and Exit": the message box, no file, the focus kept in Text7
#      (what is typed next lands there); then Text7 = 5, Tab, Tab and Enter
#      on "Save and Exit" write the values loaded from tanks.ini with it.
#   3. A save into a missing folder says so and keeps the window; the close
#      box ends the program and writes nothing; Cancel at the prompt stores
#      the empty text.
#   4. A copy under Program Files keeps tanks.ini in %APPDATA%\Brinevar.
#   5. The about box opens, shows its etched line and closes; System Info
#      starts the program that the registry names.
#   6. At 192 DPI the window, too big for the screen, is drawn smaller
#      until its frame fits.
#   7. The prompt offers the Updates folder of the game (a folder holding
#      ZOO.EXE) under Program Files (x86), else under Program Files, else
#      the game's default text; a folder without the program is not offered.
#   8. Letters beyond ASCII that the code page holds (Latin-1, the euro sign,
#      curly quotes) and blanks are written as the core's writer writes them;
#      a Cyrillic letter stops Save and Exit with the message box and leaves
#      both files as they were.
#   9. A tanks.cfg that is a symbolic link (made on the Unix side, as Wine
#      shows those) stays one; the file it points to gets the new text.
#  10. A value of 30,000 digits, typed at its end, is saved whole with the
#      letters typed; one of 1 MiB, too long for the field to edit, refuses
#      the letter with the message box and is saved whole.
#  11. First start with no tanks.ini beside the game's tanks.cfg and its copy
#      in %LOCALAPPDATA%\VirtualStore: the fields show the copy's values,
#      which Save and Exit writes into both; each former text is kept as
#      tanks.cfg.original beside its file.
#
# Usage: windows_test.sh path/to/brinevar.exe path/to/writesettings.exe
# Exit status 77 (skipped) when Xvfb, xdotool, wine or python3 is missing.
set -euo pipefail

exe=$(realpath "${1:?usage: windows_test.sh brinevar.exe writesettings.exe}")
writer=$(realpath "${2:?usage: windows_test.sh brinevar.exe writesettings.exe}")
repo=$(cd "$(dirname "$0")/.." && pwd)

# xdotool types UTF-8 text, and Wine then gives Windows the code page 1252.
export LC_ALL=C.UTF-8

# shellcheck source=tests/xtest.sh
. "$repo/tests/xtest.sh"
require_tools Xvfb xdotool wine python3
# shellcheck source=scripts/wine-session.sh
. "$repo/scripts/wine-session.sh"

pid=
cleanup() {
    [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
    wine_session_stop
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    show_screen "$PWD/windows_test-failure.png"
    exit 1
}

wine_session_start x
drive=$WINEPREFIX/drive_c
program=$drive/Brinevar
updates=$drive/Updates
mkdir -p "$program" "$updates"
cp "$exe" "$program/brinevar.exe"

start_program() {
    (cd "$program" && exec wine brinevar.exe) >/dev/null 2>&1 &
    pid=$!
}
running() { kill -0 "$pid" 2>/dev/null; }
ended() { ! running; }
wait_end() {
    poll 20 ended || fail "$1"
    wait "$pid" || fail "the program ended with status $?"
    pid=
}

# The file the core's writer makes of the default texts with these changes.
expected() {
    local out=$1
    shift
    wine "$writer" 'C:\expected.cfg' "$@" 2>/dev/null || fail "writesettings failed"
    mv "$drive/expected.cfg" "$out"
}

echo "== 1: first start, Set To Default, Save and Exit"
start_program
prompt=$(wait_window "Folder Path")
xdotool windowfocus --sync "$prompt"
xdotool key ctrl+a
xdotool type --delay 5 -- 'C:\Updates\'
xdotool key Return
poll 15 count_is "Folder Path" 0 || fail "the prompt stayed open"
main=$(wait_window Brinevar)
type_into_field 2280 1200 7.25 # saltWater (Text1)
type_into_field 2280 4800 9    # initialSink (Text19)
click_set_to_default
type_into_field 9720 4440 450 # waterPurityDecayTime (Text6)
click_save_and_exit
wait_end "Save and Exit did not end the program"
expected "$wine_session/first.cfg" waterPurityDecayTime=450
cmp "$wine_session/first.cfg" "$updates/tanks.cfg" || fail "tanks.cfg is not what the writer makes"
cmp "$wine_session/first.cfg" "$program/tanks.ini" || fail "tanks.ini is not what the writer makes"
wine reg query 'HKCU\Software\Brinevar\Brinevar\MZTPath' /v Path 2>/dev/null |
    grep -qF 'C:\Updates\' || fail "the folder was not stored under HKEY_CURRENT_USER"
echo "ok: both files as the writer makes them; the folder stored"

echo "== 2: second start; a refused Text7 keeps the focus and writes nothing"
rm "$updates/tanks.cfg"
cp "$program/tanks.ini" "$wine_session/saved.ini"
start_program
main=$(wait_window Brinevar)
count_is "Folder Path" 0 || fail "the second start asked for the folder"
refused() {
    close_message_box "no message box after $1"
    [ ! -e "$updates/tanks.cfg" ] || fail "tanks.cfg was written after $1"
    cmp -s "$wine_session/saved.ini" "$program/tanks.ini" || fail "tanks.ini changed after $1"
}
type_into_field 8640 5520 18 # tankTerrain (Text7)
xdotool key Tab
refused "Tab"
click_save_and_exit
refused "a click on Save and Exit"
running || fail "the program ended after a refusal"
# Still in Text7: the text typed now replaces 18 there.
xdotool windowfocus --sync "$main"
xdotool key ctrl+a
xdotool type --delay 5 -- 5
xdotool key Tab Tab Return # Text8, then Save and Exit, pressed by Enter
wait_end "Enter on Save and Exit did not end the program"
expected "$wine_session/second.cfg" waterPurityDecayTime=450 tankTerrain=5
cmp "$wine_session/second.cfg" "$updates/tanks.cfg" ||
    fail "the second save lost a loaded value or the corrected Text7"
echo "ok: refused twice with nothing written; the loaded values and Text7 = 5 saved"

# A first start: the prompt answered by key $1, the window closed again.
# Sets `answer` to what the prompt stored.
answer_prompt() {
    wine reg delete "$store" /v Path /f >/dev/null 2>&1
    start_program
    prompt=$(wait_window "Folder Path")
    xdotool windowfocus --sync "$prompt"
    xdotool key "$1"
    main=$(wait_window Brinevar)
    send_close_request "$main"
    wait_end "the close box did not end the program"
    answer=$(wine reg query "$store" /v Path 2>/dev/null | sed -n 's/.*REG_SZ *//p' | tr -d '\r')
}

echo "== 3: a failed save keeps the window; the close box writes nothing; Cancel stores nothing"
rm "$updates/tanks.cfg"
cp "$program/tanks.ini" "$wine_session/saved.ini"
store='HKCU\Software\Brinevar\Brinevar\MZTPath'
wine reg add "$store" /v Path /d 'C:\Missing\' /f >/dev/null 2>&1
start_program
main=$(wait_window Brinevar)
type_into_field 2280 1200 3
click_save_and_exit
close_message_box "no message box after a save into a missing folder"
running || fail "a failed save ended the program"
cmp -s "$wine_session/saved.ini" "$program/tanks.ini" || fail "a failed save changed tanks.ini"
send_close_request "$main"
wait_end "the close box did not end the program"
[ ! -e "$updates/tanks.cfg" ] || fail "closing wrote tanks.cfg"
cmp -s "$wine_session/saved.ini" "$program/tanks.ini" || fail "closing changed tanks.ini"
answer_prompt Escape
wine reg query "$store" /v Path 2>/dev/null | grep -qE 'Path\s+REG_SZ\s*$' ||
    fail "Cancel did not store the empty text"
wine reg add "$store" /v Path /d 'C:\Updates\' /f >/dev/null 2>&1
echo "ok: the failed save said so and kept the window; closing wrote nothing; Cancel gave the empty text"

echo "== 4: a copy under Program Files keeps tanks.ini in the user's AppData"
installed="$drive/Program Files/Brinevar"
mkdir -p "$installed"
cp "$exe" "$installed/brinevar.exe"
(cd "$installed" && exec wine brinevar.exe) >/dev/null 2>&1 &
pid=$!
main=$(wait_window Brinevar)
click_save_and_exit
wait_end "Save and Exit did not end the installed copy"
[ ! -e "$installed/tanks.ini" ] || fail "the installed copy wrote beside itself"
appdata=$(find "$drive/users" -path '*/AppData/Roaming/Brinevar/tanks.ini' | head -n1)
[ -n "$appdata" ] || fail "no tanks.ini in the user's AppData"
cmp "$appdata" "$updates/tanks.cfg" || fail "the AppData copy differs from tanks.cfg"
echo "ok: tanks.ini in $(basename "$(dirname "$(dirname "$appdata")")")\\Brinevar"

echo "== 5: the about box, and System Info through the registry"
tool_key='HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO'
# In both views of the registry: each program reads its own, and `wine reg`
# may be either.
for view in 32 64; do
    wine reg add "$tool_key" /v PATH /d 'C:\windows\notepad.exe' /reg:$view /f >/dev/null 2>&1
    wine reg add 'HKLM\SOFTWARE\Microsoft\Shared Tools Location' /v MSINFO \
        /d 'C:\windows\system32' /reg:$view /f >/dev/null 2>&1
done
start_program
main=$(wait_window Brinevar)
click_control 11040 0 495 255 # About (Label43)
about=$(wait_window "About Brinevar")
sleep 1 # let it paint
# The etched line at 2445 twips: grey 1 pixel, white 2 pixels just below.
etched=$(import -window "$about" -crop 1x5+100+162 txt:- 2>/dev/null |
    grep -o '#[0-9A-F]\{6\}' | tr '\n' ' ')
case "$etched" in
*' #FFFFFF ') fail "the etched line's white is more than 2 pixels high: $etched" ;;
'#'??????' #808080 #FFFFFF #FFFFFF '*) ;;
*) fail "the etched line reads $etched from the top, not grey then two white" ;;
esac
xdotool windowfocus --sync "$about"
xdotool key Return
poll 15 count_is "About Brinevar" 0 || fail "Enter did not close the about box"
xdotool windowfocus --sync "$main"
xdotool key alt+a # About, by its access key
about=$(wait_window "About Brinevar")
xdotool windowfocus --sync "$about"
xdotool key alt+s # System Info
tool=$(wait_window "Untitled - Notepad")
send_close_request "$tool"
poll 5 count_is "About Brinevar" 1 || fail "the about box closed after System Info"
send_close_request "$about"
poll 15 count_is "About Brinevar" 0 || fail "the close box did not close the about box"
send_close_request "$main"
wait_end "the main window did not close after the about box"
echo "ok: the about box opened twice, by a click and by Alt+A, and closed; System Info started the named program"

echo "== 6: at 192 DPI the window, too big for the screen, is drawn smaller to fit it"
dpi_key='HKCU\Control Panel\Desktop'
wine reg add "$dpi_key" /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1
start_program
main=$(wait_window Brinevar)
# shellcheck disable=SC2034 # SCREEN and WINDOW are set along with the others, unused
eval "$(xdotool getwindowgeometry --shell "$main")"
send_close_request "$main"
wait_end "the close box did not end the program at 192 DPI"
wine reg delete "$dpi_key" /v LogPixels /f >/dev/null 2>&1
# 11880 x 8160 twips at 192 DPI would be 1584 x 1088 pixels. The X window is
# the client area: inside the frame's border, and below its title bar.
read -r screen_width screen_height < <(xdotool getdisplaygeometry)
if [ "$WIDTH" -ge 1584 ] || [ $((X + WIDTH)) -gt "$screen_width" ] ||
    [ $((Y + HEIGHT)) -gt "$screen_height" ] || [ "$X" -lt 0 ] || [ "$Y" -le 0 ]; then
    fail "the client area ${WIDTH}x$HEIGHT at $X,$Y does not fit the ${screen_width}x$screen_height screen"
fi
# Drawn smaller, not cut: the width and height keep the layout's proportions.
if [ $((WIDTH * 8160 / 11880 - HEIGHT)) -gt 2 ] || [ $((HEIGHT - WIDTH * 8160 / 11880)) -gt 2 ]; then
    fail "the client area ${WIDTH}x$HEIGHT is not the layout's shape"
fi
echo "ok: the client area ${WIDTH}x$HEIGHT fits the screen"

echo "== 7: the prompt offers the folder where the game is"
game='Microsoft Games\Zoo Tycoon\Updates\'
mkdir -p "$drive/Program Files/Microsoft Games/Zoo Tycoon/Updates" \
    "$drive/Program Files (x86)/Microsoft Games/Zoo Tycoon/Updates"
echo MZ >"$drive/Program Files/Microsoft Games/Zoo Tycoon/ZOO.EXE"
answer_prompt Return
[ "$answer" = 'C:\Program Files\'"$game" ] || fail "with the game under Program Files: $answer"
echo MZ >"$drive/Program Files (x86)/Microsoft Games/Zoo Tycoon/zoo.exe"
answer_prompt Return
[ "$answer" = 'C:\Program Files (x86)\'"$game" ] || fail "with the game under both: $answer"
rm "$drive/Program Files/Microsoft Games/Zoo Tycoon/ZOO.EXE" \
    "$drive/Program Files (x86)/Microsoft Games/Zoo Tycoon/zoo.exe"
answer_prompt Return
[ "$answer" = 'c:\Program Files\'"$game" ] || fail "without the game's program: $answer"
rm -r "$drive/Program Files/Microsoft Games" "$drive/Program Files (x86)/Microsoft Games"
wine reg add "$store" /v Path /d 'C:\Updates\' /f >/dev/null 2>&1
echo "ok: (x86) first, then Program Files, else the game's default text"

echo "== 8: what the code page holds is written as the core writes it; a Cyrillic letter stops the save"
start_program
main=$(wait_window Brinevar)
click_set_to_default
type_into_field 2280 1200 '7€ß'          # saltWater (Text1)
# shellcheck disable=SC1112 # curly quotes are the text typed
type_into_field 2280 2160 '“q” ‘x’'      # freshWater (Text17)
type_into_field 2280 3600 'Zürich ÿ'     # wallHeightPriceDivisor (Text18)
type_into_field 2280 4800 ' 5  '         # initialSink (Text19)
click_save_and_exit
wait_end "Save and Exit of texts beyond ASCII did not end the program"
# shellcheck disable=SC1112 # curly quotes are the text typed
expected "$wine_session/typed.cfg" 'saltWater=7€ß' 'freshWater=“q” ‘x’' \
    'wallHeightPriceDivisor=Zürich ÿ' 'initialSink= 5  '
cmp "$wine_session/typed.cfg" "$updates/tanks.cfg" || fail "tanks.cfg is not what the writer makes"
cmp "$wine_session/typed.cfg" "$program/tanks.ini" || fail "tanks.ini is not what the writer makes"
start_program
main=$(wait_window Brinevar)
type_into_field 5880 3480 'ж' # initialSalinity (Text13)
click_save_and_exit
close_message_box "no message box after a Cyrillic letter"
running || fail "the refusal ended the program"
cmp "$wine_session/typed.cfg" "$updates/tanks.cfg" || fail "the refusal changed tanks.cfg"
cmp "$wine_session/typed.cfg" "$program/tanks.ini" || fail "the refusal changed tanks.ini"
send_close_request "$main"
wait_end "the close box did not end the program after the refusal"
echo "ok: the typed texts written as the writer writes them; the Cyrillic letter refused, no file changed"

echo "== 9: a tanks.cfg that is a symbolic link stays one, and its file gets the new text"
mkdir -p "$drive/Real"
echo former >"$drive/Real/tanks.cfg"
rm -f "$updates"/tanks.cfg*
ln -s ../Real/tanks.cfg "$updates/tanks.cfg"
start_program
main=$(wait_window Brinevar)
click_save_and_exit
wait_end "Save and Exit did not end the program with a linked tanks.cfg"
[ -L "$updates/tanks.cfg" ] || fail "the link was replaced by a file"
cmp "$program/tanks.ini" "$drive/Real/tanks.cfg" || fail "the linked file did not get the new text"
echo former | cmp - "$updates/tanks.cfg.original" || fail "the linked file's text was not kept"
[ "$(find "$drive/Real" "$updates" -mindepth 1 | wc -l)" -eq 3 ] ||
    fail "files were left beside the link or its file: $(ls -A "$drive/Real" "$updates")"
echo "ok: the link kept, its file saved, its text kept beside the link"

echo "== 10: a long value is never cut: typed at its end it is saved whole, or the edit is refused"
# Clicks saltWater (Text1), goes to the end of its text and types $1.
type_at_end() {
    click_control 2280 1200 615 285
    xdotool key ctrl+End
    xdotool type --delay 5 -- "$1"
}
saved_salt_water() { sed -n 2p "$updates/tanks.cfg" | tr -d '\r'; }
rm -f "$updates/tanks.cfg"
sevens=$(printf '7%.0s' $(seq 30000))
printf 'saltWater = %s\r\n' "$sevens" >"$program/tanks.ini"
start_program
main=$(wait_window Brinevar)
type_at_end ab
click_save_and_exit
wait_end "Save and Exit of a long value did not end the program"
[ "$(saved_salt_water)" = "saltWater = ${sevens}ab" ] ||
    fail "the 30,000 digits typed at their end were not saved whole: $(saved_salt_water | wc -c) bytes"
# The largest value that tanks.ini can bring (1 MiB in all).
longest=$(head -c $((1048576 - 14)) /dev/zero | tr '\0' 7)
printf 'saltWater = %s\r\n' "$longest" >"$program/tanks.ini"
start_program
main=$(wait_window Brinevar)
type_at_end a
close_message_box "no message box after typing into a value too long to edit"
click_save_and_exit
wait_end "Save and Exit of a value too long to edit did not end the program"
[ "$(saved_salt_water)" = "saltWater = $longest" ] ||
    fail "the value too long to edit was not saved whole: $(saved_salt_water | wc -c) bytes"
echo "ok: 30,000 digits saved with the letters typed; 1 MiB refused the edit and was saved whole"

echo "== 11: a first start shows the copy of the game's tanks.cfg that the game reads; both keep their texts"
game=$drive/Game/Updates
local_appdata=$(find "$drive/users" -mindepth 3 -maxdepth 3 -type d -path '*/AppData/Local' | head -n1)
[ -n "$local_appdata" ] || fail "the prefix has no AppData\\Local"
store_copy=$local_appdata/VirtualStore/Game/Updates
mkdir -p "$game" "$store_copy"
printf 'saltWater = 9\r\n' >"$game/tanks.cfg"
printf 'SALTWATER=2.5\r\n' >"$store_copy/tanks.cfg"
cp "$game/tanks.cfg" "$wine_session/game.cfg"
cp "$store_copy/tanks.cfg" "$wine_session/store.cfg"
rm "$program/tanks.ini"
wine reg delete "$store" /v Path /f >/dev/null 2>&1
start_program
prompt=$(wait_window "Folder Path")
xdotool windowfocus --sync "$prompt"
xdotool key ctrl+a
xdotool type --delay 5 -- 'C:\Game\Updates\'
xdotool key Return
main=$(wait_window Brinevar)
click_save_and_exit
wait_end "Save and Exit did not end the program started from the game's file"
# The initial texts but the one value, which the writer makes of the defaults so.
expected "$wine_session/game-start.cfg" saltWater=2.5 initialSink=2 tankTerrainShow=2
cmp "$wine_session/game-start.cfg" "$game/tanks.cfg" || fail "tanks.cfg does not hold the copy's values"
cmp "$wine_session/game-start.cfg" "$store_copy/tanks.cfg" || fail "the VirtualStore copy was not saved"
cmp "$wine_session/game-start.cfg" "$program/tanks.ini" || fail "tanks.ini differs"
cmp "$wine_session/game.cfg" "$game/tanks.cfg.original" || fail "the game's text was not kept"
cmp "$wine_session/store.cfg" "$store_copy/tanks.cfg.original" || fail "the copy's text was not kept"
echo "ok: the VirtualStore copy's values shown and saved into both; both former texts kept"
