# SPDX-FileCopyrightText: 2026 The Korvid developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Sourced by the scripts that run the program in a private X session: a 1280 x 1024
# virtual screen with the openbox window manager, as a user's desktop would have.
# Needs Xvfb, openbox, xprop and xdotool.

# Starts the server and the window manager and exports DISPLAY; the caller's EXIT trap
# calls xsession_stop.
xsession_start() {
    local numberfile
    numberfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numberfile" >/dev/null 2>&1 &
    XSESSION_SERVER=$!
    for _ in $(seq 1 100); do
        [ -s "$numberfile" ] && break
        sleep 0.1
    done
    [ -s "$numberfile" ] || { echo "xsession: Xvfb did not start" >&2; return 1; }
    export DISPLAY=":$(tr -d '\n' <"$numberfile")"
    rm -f "$numberfile"
    openbox >/dev/null 2>&1 &
    XSESSION_WM=$!
    for _ in $(seq 1 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.1
    done
    echo "xsession: the window manager did not start" >&2
    return 1
}

xsession_stop() {
    [ -n "${XSESSION_WM:-}" ] && kill "$XSESSION_WM" 2>/dev/null
    [ -n "${XSESSION_SERVER:-}" ] && kill "$XSESSION_SERVER" 2>/dev/null
    XSESSION_WM= XSESSION_SERVER=
    return 0
}

# Prints the id of the first shown window whose title matches the pattern, waiting up to
# the given seconds (default 30).
xsession_window() {
    local pattern=$1 seconds=${2:-30} id
    for _ in $(seq 1 $((seconds * 10))); do
        id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}
