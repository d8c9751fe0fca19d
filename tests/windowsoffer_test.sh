#!/usr/bin/env bash
# Windows paths end in a backslash inside single quotes here.
# shellcheck disable=SC1003

# The offer to save as administrator, in the real brinevar.exe under Wine, run
# by a user who may not write the Updates folder (as-nobody.sh makes root
# that user; as root every folder is writable). Real X input as in
# windows_test.sh; windowtexts.exe reads the controls that X does not show.
#
#   1. "Save and Exit" into the unwritable folder shows the offer: a box
#      beside the main window saying why, with "Save as administrator" and
#      "Cancel".
#   2. Cancel keeps the main window and the typed values in their fields,
#      and writes no file and no request.
#   3. "Save and Exit" again, then "Save as administrator": the copy that
#      Windows would start with the administrator's rights writes tanks.cfg,
#      the program writes the same bytes to tanks.ini and ends, and the
#      request is gone. Wine has no consent prompt, and its "runas" starts
#      the copy as the same user; making the folder writable just before the
#      press stands in for the rights that the consent would give.
#
# Usage: windowsoffer_test.sh brinevar.exe writesettings.exe windowtexts.exe
# Exit status 77 (skipped) when Xvfb, xdotool, wine or python3 is missing,
# or when run as root.
set -euo pipefail

usage="usage: windowsoffer_test.sh brinevar.exe writesettings.exe windowtexts.exe"
exe=$(realpath "${1:?$usage}")
writer=$(realpath "${2:?$usage}")
texts=$(realpath "${3:?$usage}")
repo=$(cd "$(dirname "$0")/.." && pwd)
export LC_ALL=C.UTF-8

# shellcheck source=tests/xtest.sh
. "$repo/tests/xtest.sh"
require_tools Xvfb xdotool wine python3
if [ "$(id -u)" = 0 ]; then
    echo "SKIP: root may write any folder; run this through tests/as-nobody.sh"
    exit 77
fi
# shellcheck source=scripts/wine-session.sh
. "$repo/scripts/wine-session.sh"

pid=
cleanup() {
    [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
    [ -z "${updates:-}" ] || chmod 755 "$updates" 2>/dev/null || true
    wine_session_stop
}
trap cleanup EXIT

# The test's own folder goes when it ends, so the screenshot goes to /tmp.
fail() {
    echo "FAIL: $*" >&2
    [ -z "${offer:-}" ] || printf '  control: %s\n' "${offer[@]}" >&2
    show_screen /tmp/windowsoffer_test-failure.png
    exit 1
}

wine_session_start x
drive=$WINEPREFIX/drive_c
program=$drive/Brinevar
updates=$drive/Games/Updates
mkdir -p "$program" "$updates"
cp "$exe" "$program/brinevar.exe"
wine reg add 'HKCU\Software\Brinevar\Brinevar\MZTPath' /v Path /d 'C:\Games\Updates\' /f \
    >/dev/null 2>&1
chmod 555 "$updates"
[ ! -w "$updates" ] || fail "this user may write the folder made unwritable"

running() { kill -0 "$pid" 2>/dev/null; }
ended() { ! running; }

# The controls of the windows titled Brinevar, one "window class text x y"
# a line (tab-separated; see windowtexts.cpp).
controls() { wine "$texts" Brinevar 2>/dev/null | tr -d '\r'; }

# Sets `offer` to the controls of the box that holds the button
# "Save as administrator", once it is shown.
find_offer() {
    local all box
    all=$(controls)
    box=$(awk -F '\t' '$2 == "Button" && $3 == "Save as administrator" { print $1 }' <<<"$all")
    [ -n "$box" ] || return 1
    mapfile -t offer < <(awk -F '\t' -v box="$box" '$1 == box' <<<"$all")
    # Windows' screen is X's, so the button lies inside the box's X window
    # (its client area), unless the box is still being put into place.
    local x y shown
    read -r x y < <(button_centre "Save as administrator")
    shown=$(windows_titled Brinevar | grep -vx "$main") || return 1
    # shellcheck disable=SC2034 # SCREEN is set along with the others, unused
    local X Y WIDTH HEIGHT SCREEN
    eval "$(xdotool getwindowgeometry --shell "$shown")"
    [ "$x" -gt "$X" ] && [ "$x" -lt $((X + WIDTH)) ] && [ "$y" -gt "$Y" ] && [ "$y" -lt $((Y + HEIGHT)) ]
}

# The middle of the offer's button labelled $1 on the screen, as "x y".
button_centre() {
    printf '%s\n' "${offer[@]}" |
        awk -F '\t' -v label="$1" '$2 == "Button" && $3 == label { print $4, $5 }'
}

# Waits for the offer after a click on "Save and Exit", checks its texts.
wait_offer() {
    offer=()
    poll 15 count_is Brinevar 2 || fail "no box beside the main window after $1"
    poll 15 find_offer ||
        fail "the box after $1 shows no button \"Save as administrator\" inside it"
    printf '%s\n' "${offer[@]}" | grep -qP '^[^\t]*\tButton\tCancel\t' ||
        fail "the offer has no button \"Cancel\""
    printf '%s\n' "${offer[@]}" | grep -qF 'Windows lets only an administrator change' ||
        fail "the offer does not say why"
    printf '%s\n' "${offer[@]}" | grep -qF 'Could not save C:\Games\Updates\tanks.cfg' ||
        fail "the offer does not name the file"
}

# Clicks the offer's button labelled $1 where Windows has put it.
press() {
    local x y
    read -r x y < <(button_centre "$1")
    [ -n "$x" ] || fail "the offer has no button \"$1\""
    xdotool mousemove --sync "$x" "$y" click 1
}

echo "== 1: Save and Exit into a folder this user may not write shows the offer"
(cd "$program" && exec wine brinevar.exe) >/dev/null 2>&1 &
pid=$!
# shellcheck disable=SC2034 # read by xtest.sh's clicks
main=$(wait_window Brinevar)
click_set_to_default # the texts that writesettings starts from
type_into_field 2280 1200 7.25 # saltWater (Text1)
type_into_field 9720 4440 450  # waterPurityDecayTime (Text6)
click_save_and_exit
wait_offer "Save and Exit"
echo "ok: the offer names the file, says why, and has its two buttons"

echo "== 2: Cancel keeps the window and the typed values, and writes nothing"
press Cancel
poll 15 count_is Brinevar 1 || fail "Cancel did not close the offer"
running || fail "Cancel ended the program"
fields=$(controls | awk -F '\t' '$2 == "Edit" { print $3 }')
grep -qx 7.25 <<<"$fields" || fail "saltWater lost its typed value"
grep -qx 450 <<<"$fields" || fail "waterPurityDecayTime lost its typed value"
[ -z "$(ls -A "$updates")" ] || fail "Cancel left files in the Updates folder: $(ls -A "$updates")"
[ ! -e "$program/tanks.ini" ] || fail "Cancel wrote tanks.ini"
[ -z "$(find "$drive/users" -name elevated-save.request)" ] || fail "Cancel left a request"
echo "ok: the window and its values kept; no file written"

echo "== 3: Save as administrator writes tanks.cfg, then tanks.ini, and ends"
click_save_and_exit
wait_offer "the second Save and Exit"
chmod 755 "$updates" # what the administrator's consent would give
press "Save as administrator"
poll 20 ended || fail "the program did not end after saving as administrator"
wait "$pid" || fail "the program ended with status $?"
pid=
wine "$writer" 'C:\expected.cfg' saltWater=7.25 waterPurityDecayTime=450 2>/dev/null ||
    fail "writesettings failed"
cmp "$drive/expected.cfg" "$updates/tanks.cfg" || fail "tanks.cfg is not what the writer makes"
cmp "$updates/tanks.cfg" "$program/tanks.ini" || fail "tanks.ini differs from tanks.cfg"
[ "$(ls -A "$updates")" = tanks.cfg ] || fail "more than tanks.cfg written: $(ls -A "$updates")"
[ -z "$(find "$drive/users" -name elevated-save.request)" ] || fail "the request was left behind"
echo "ok: tanks.cfg and tanks.ini as the writer makes them; the request gone"
