# shellcheck shell=bash
# Sourced by the tests that drive a real Brinevar window under Xvfb with real
# X input (xdotool). There is no window manager, so an X window is the
# window's client area, and the tests do what a window manager would: give
# windows the keyboard focus (xdotool windowfocus) and send the close-box
# message (scripts/xwindow.py).
#
# The caller defines fail MESSAGE, and sets $main to the main window's id
# before clicking into it.

xtest_repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Ends the test as skipped (77) unless every tool named is installed.
require_tools() {
    local tool
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null; then
            echo "SKIP: $tool is not installed"
            exit 77
        fi
    done
}

# What a failing test shows: the shown windows, and the screen as PNG $1.
show_screen() {
    for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
        echo "  window $w: $(xdotool getwindowname "$w" 2>/dev/null)" >&2
    done
    import -window root "$1" 2>/dev/null && echo "screenshot: $1" >&2
}

# Runs a command every 50 ms until it succeeds or `seconds` have passed.
poll() {
    local seconds=$1
    shift
    local tries=$((seconds * 20))
    until "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.05
    done
}

# The ids of the shown windows whose title is exactly $1.
windows_titled() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true
}

count_is() { [ "$(windows_titled "$1" | wc -l)" -eq "$2" ]; }

# Waits for exactly one shown window titled $1 and prints its id.
wait_window() {
    poll 15 count_is "$1" 1 || fail "no window titled \"$1\""
    windows_titled "$1"
}

# Sends window $1 the message that a window manager sends when the user
# clicks the window's close box.
send_close_request() {
    python3 "$xtest_repo/scripts/close-window.py" "$1"
}

# Clicks the middle of a control of the main window $main, given in twips
# from the top left of its client area (11880 x 8160 twips).
click_control() {
    local left=$1 top=$2 width=$3 height=$4
    # shellcheck disable=SC2034 # SCREEN is set along with the others, unused
    local X Y WIDTH HEIGHT SCREEN
    eval "$(xdotool getwindowgeometry --shell "${main:?}")"
    # Twips to device pixels, whatever the scale.
    local x=$((X + (left + width / 2) * WIDTH / 11880))
    local y=$((Y + (top + height / 2) * HEIGHT / 8160))
    xdotool mousemove --sync "$x" "$y" click 1
}

# Clicks into the field at (left, top) and replaces its text with $3.
# xdotool would type a letter that the keyboard map lacks on a key that it
# maps only for a moment, and a busy program could read that key after it is
# mapped back; such letters get keys of their own first.
type_into_field() {
    click_control "$1" "$2" 615 285
    xdotool key ctrl+a
    if LC_ALL=C.UTF-8 grep -q '^[ -~]*$' <<<"$3"; then
        xdotool type --delay 5 -- "$3"
    else
        # shellcheck disable=SC2046 # one key name a word
        xdotool key --delay 5 $(LC_ALL=C.UTF-8 python3 "$xtest_repo/scripts/bind-letters.py" "$3")
    fi
}

click_save_and_exit() { click_control 10320 360 1455 495; }
click_set_to_default() { click_control 8400 360 1575 495; }

# Waits for a message box titled Brinevar beside the main window $main and
# closes it with Return; $1 says what went wrong when none comes.
close_message_box() {
    poll 15 count_is Brinevar 2 || fail "$1"
    local message
    message=$(windows_titled Brinevar | grep -vx "$main") || fail "the second window is the main one"
    xdotool windowfocus --sync "$message"
    xdotool key Return
    poll 15 count_is Brinevar 1 || fail "Return did not close the message box"
}
