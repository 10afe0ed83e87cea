#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Korvid developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Makes the screenshot that the AppStream metadata shows: the main window, as a new user
# sees it, browsing samples/ with sunset.jpg shown. Usage: tools/make-screenshot.sh [OUT]
# (default resources/desktop/screenshots/main-window.png); KORVID names the program to
# run (default build/bin/korvid). Needs Xvfb, openbox, xdotool and ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/xsession.sh

out=${1:-resources/desktop/screenshots/main-window.png}
program=${KORVID:-build/bin/korvid}
width=1120
height=700

# The folder list shows the path, so the samples are browsed from a short one of their own.
pictures=/tmp/Pictures
[ -e "$pictures" ] && { echo "make-screenshot: $pictures is in the way" >&2; exit 1; }
work=$(mktemp -d)
app=
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null
    xsession_stop
    rm -rf "$work" "$pictures"
}
trap cleanup EXIT
mkdir -p "$work/home" "$pictures"
cp samples/* "$pictures/"

xsession_start
# A new user's settings, so the picture is shown as it is on a first start.
HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" "$program" "$pictures/sunset.jpg" 2>/dev/null &
app=$!
window=$(xsession_window 'sunset\.jpg') || { echo "make-screenshot: the window did not show" >&2; exit 1; }
xdotool windowsize --sync "$window" "$width" "$height"
xdotool windowmove --sync "$window" 40 40
# Give the layout and the picture time to settle after the resize.
sleep 2
mkdir -p "$(dirname "$out")"
import -window "$window" -strip "$out"
echo "make-screenshot: $out, $(identify -format '%w x %h' "$out") pixels"
