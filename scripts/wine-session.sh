# shellcheck shell=bash
# Sourced by the scripts that run Windows programs under Wine: a throwaway
# Wine prefix, so nothing of the user's own Wine is read or changed, and with
# `x` an X server of its own (Xvfb), where without a window manager an X
# window is a Windows window's client area at 96 DPI.
#
#   wine_session_start [x]   sets WINEPREFIX (and DISPLAY), boots the prefix;
#                            with BRINEVAR_WINE_VERSION set (win7, win10, ...)
#                            Wine tells programs that it is that Windows
#   wine_session_stop        ends the Wine server and Xvfb, removes the prefix

wine_session_start() {
    wine_session=$(mktemp -d)
    export WINEPREFIX=$wine_session/prefix WINEARCH=win64
    export WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
    wine_session_xvfb=
    if [ "${1:-}" = x ]; then
        # Xvfb picks a free display and writes its number to fd 3.
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
            3>"$wine_session/display" 2>"$wine_session/xvfb.log" &
        wine_session_xvfb=$!
        local tries=200
        until [ -s "$wine_session/display" ]; do
            tries=$((tries - 1))
            [ "$tries" -gt 0 ] || { echo "Xvfb did not start" >&2; return 1; }
            sleep 0.05
        done
        DISPLAY=:$(tr -d '\n' <"$wine_session/display")
        export DISPLAY
    fi
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    # One Wine server for every program started from here saves starting one
    # for each.
    wineserver -p
    if [ -n "${BRINEVAR_WINE_VERSION:-}" ]; then
        wine reg add 'HKCU\Software\Wine' /v Version /d "$BRINEVAR_WINE_VERSION" /f >/dev/null 2>&1
    fi
}

wine_session_stop() {
    [ -n "${wine_session:-}" ] || return 0
    wineserver -k 2>/dev/null || true
    [ -z "$wine_session_xvfb" ] || kill "$wine_session_xvfb" 2>/dev/null || true
    rm -rf "$wine_session"
    wine_session=
}
