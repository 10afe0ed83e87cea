#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Korvid developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The package test: installs build-deb/korvid_*.deb into a fresh Debian 12 root made by
# debootstrap, so that only what the package depends on is there, and uses the installed
# program as a user would: a photograph opened from the command line (its caption and its
# pixels), a WAV and a MID heard on the sound server, the help window opened with F1, the
# VorodOdir started by the desktop entry's action, the manual page and the desktop's
# default application for each type the program opens. Then it removes the package and
# checks that nothing of it is left. The X server and the sound server run outside the
# root, so the root holds no more than a user's system would.
#
# Needs root (debootstrap, mounts), network access to a Debian mirror, Xvfb, openbox,
# xdotool, PulseAudio, ImageMagick and python3. Where a root cannot be made (no mount
# rights), it says so and tests on this machine itself with apt instead.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/xsession.sh

deb=$(ls build-deb/korvid_*_amd64.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { echo "test-deb: no package in build-deb/; run make deb first" >&2; exit 1; }
# Installing a package and making a root need the administrator.
[ "$(id -u)" -eq 0 ] || exec sudo --preserve-env=PATH "$0" "$@"

app_id=io.github.korvid.korvid
work=$(mktemp -d /tmp/korvid-test-deb.XXXXXX)
root="$work/root"
mode=root
mounted=()
pulse=
failures=0

cleanup() {
    stop_program
    [ -n "$pulse" ] && kill "$pulse" 2>/dev/null
    xsession_stop
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount -l "${mounted[i]}" 2>/dev/null || true
    done
    if [ "$mode" = host ] && dpkg-query -W -f='${Status}' korvid 2>/dev/null | grep -q installed; then
        apt-get purge -y -qq korvid >/dev/null 2>&1 || true
    fi
    # Never into a mount that is still there.
    rm -rf --one-file-system "$work"
}
trap cleanup EXIT

check() { # description, then a command that must succeed
    local what=$1
    shift
    if "$@" >/dev/null; then
        echo "test-deb: ok: $what"
    else
        echo "test-deb: FAILED: $what" >&2
        failures=$((failures + 1))
    fi
}

bind() { # source, target inside the root
    mkdir -p "$2"
    mount --bind "$1" "$2" && mounted+=("$2")
}

# --- a fresh Debian 12 -------------------------------------------------------------
mirror=$(sed -n 's/^URIs: *\(http[^ ]*debian\)$/\1/p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n 1)
mirror=${mirror:-http://deb.debian.org/debian}
echo "test-deb: making a fresh Debian 12 root from $mirror"
# The X server's sockets are shared with the root; the folder exists only once a server ran.
mkdir -p /tmp/.X11-unix
chmod 1777 /tmp/.X11-unix
if debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1 \
    && bind /proc "$root/proc" && bind /dev "$root/dev" && bind /dev/pts "$root/dev/pts" \
    && bind /sys "$root/sys" \
    && bind /tmp/.X11-unix "$root/tmp/.X11-unix"; then
    # The same archives as this machine, so the libraries the package was built against
    # are there in the same versions.
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        cp /etc/apt/sources.list.d/debian.sources "$root/etc/apt/sources.list.d/"
        rm -f "$root/etc/apt/sources.list"
    fi
    sys=$root
    inside=/tmp/korvid-test
else
    tail -n 5 "$work/debootstrap.log" >&2 || true
    echo "test-deb: no fresh root can be made here (debootstrap or mounts refused);" \
        "testing the package on this machine instead" >&2
    mode=host
    sys=
    inside=$work/share
fi
# The tested system sees the test's files at $inside; here they are at $outside.
outside=$sys$inside
home=$inside/user
mkdir -p "$outside/pulse" "$outside/user/run" "$outside/user/Pictures"
chmod 700 "$outside/user/run"

# Runs a command as a user of the tested system, with a clean environment.
as_user() {
    local envs=(HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$home/run"
        DISPLAY="$DISPLAY" PULSE_SERVER="unix:$inside/pulse/native" LANG=C.UTF-8
        PATH=/usr/bin:/bin)
    if [ "$mode" = root ]; then
        chroot "$root" env -i "${envs[@]}" "$@"
    else
        env -i "${envs[@]}" "$@"
    fi
}
in_system() { # a command of the tested system, as its administrator
    if [ "$mode" = root ]; then
        chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@"
    else
        env DEBIAN_FRONTEND=noninteractive "$@"
    fi
}
stop_program() {
    pkill -f "^/usr/bin/korvid" 2>/dev/null || true
    for _ in $(seq 1 50); do pgrep -f "^/usr/bin/korvid" >/dev/null || return 0; sleep 0.1; done
    pkill -9 -f "^/usr/bin/korvid" 2>/dev/null || true
}

# --- install ----------------------------------------------------------------------
in_system apt-get update -qq
# What every desktop has: the tools that keep the MIME and application caches, xdg-mime
# and man. The package must bring everything else itself.
in_system apt-get install -y -qq --no-install-recommends \
    desktop-file-utils shared-mime-info xdg-utils man-db >/dev/null
cp "$deb" "$outside/"
echo "test-deb: apt install ./$(basename "$deb")"
in_system apt-get install -y -qq --no-install-recommends "$inside/$(basename "$deb")" \
    >"$work/install.log" 2>&1 \
    || { tail -n 20 "$work/install.log" >&2; echo "test-deb: FAILED: the package does not install" >&2; exit 1; }

# --- the X session and the sound server ---------------------------------------------
xsession_start
XDG_RUNTIME_DIR="$outside/pulse" pulseaudio --daemonize=no --use-pid-file=no -n \
    --exit-idle-time=-1 --load="module-native-protocol-unix auth-anonymous=1 socket=$outside/pulse/native" \
    --load="module-null-sink sink_name=korvid_check" >/dev/null 2>&1 &
pulse=$!
export PULSE_SERVER="unix:$outside/pulse/native"
for _ in $(seq 1 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl set-default-sink korvid_check

# Photographs of the size a camera makes, with a sun in a colour of its own in the middle,
# where a picture larger than the window is shown; and the sample sounds.
for name in harbour lighthouse; do
    convert -size 4000x3000 gradient:'#3f7fd0-#cde6ff' -fill '#ffb300' -draw 'circle 2000,1500 2000,700' \
        -fill '#1b5e20' -draw 'polygon 0,3000 0,2300 1300,2000 2700,2600 4000,2200 4000,3000' \
        -quality 90 "$outside/user/Pictures/$name.jpg"
done
cp samples/chime.wav samples/tune.mid "$outside/user/"

# What share of the window shows the photograph's sun.
sun_share() {
    import -window "$1" "$work/shot.png"
    convert "$work/shot.png" -fuzz 6% -fill white -opaque '#ffb300' -fill black +opaque white \
        -colorspace gray -format '%[fx:mean]' info:
}

# --- a picture from the command line ---------------------------------------------------
as_user /usr/bin/korvid "$home/Pictures/harbour.jpg" >"$work/picture.log" 2>&1 &
window=$(xsession_window '^harbour\.jpg' 30) || window=
check "the installed program opens a photograph from the command line" [ -n "$window" ]
if [ -n "$window" ]; then
    caption=$(xdotool getwindowname "$window")
    echo "test-deb: caption: $caption"
    check "the caption gives the photograph's size" grep -q ' 4000 x 3000 Pixels x 16M Colors' <<<"$caption"
    sleep 1
    share=$(sun_share "$window")
    echo "test-deb: the sun covers $share of the window"
    check "the photograph is drawn" python3 -c "import sys; sys.exit(0 if $share > 0.25 else 1)"
    xdotool windowactivate --sync "$window" key F1
    check "F1 opens the help window" xsession_window ' Help$' 15
fi
stop_program

# --- a sound and a song, heard on the sound server ------------------------------------
loud() { # raw recording: anything but the silence of an idle null sink
    python3 - "$1" <<'PY'
import array, sys
raw = open(sys.argv[1], 'rb').read()
data = array.array('h', raw[: len(raw) & ~1])
sys.exit(0 if data and max(map(abs, data)) > 100 else 1)
PY
}
heard() { # file in the user's home
    local record="$work/record.raw" rec result=1
    parec -d korvid_check.monitor --format=s16le --rate=16000 --channels=1 --raw >"$record" &
    rec=$!
    as_user /usr/bin/korvid "$home/$1" >"$work/$1.log" 2>&1 &
    for _ in $(seq 1 150); do
        if loud "$record"; then
            result=0
            break
        fi
        sleep 0.1
    done
    kill "$rec" 2>/dev/null
    stop_program
    [ "$result" -eq 0 ] || sed 's/^/test-deb: korvid said: /' "$work/$1.log" | tail -n 20 >&2
    return $result
}
check "a WAV plays" heard chime.wav
check "a MID plays through the SoundFont" heard tune.mid

# --- the desktop entry's action ------------------------------------------------------------
entry="$sys/usr/share/applications/$app_id.desktop"
action=$(sed -n '/^\[Desktop Action slideshow\]/,/^\[/s/^Exec=//p' "$entry")
echo "test-deb: the action runs: $action"
read -r -a words <<<"$action"
as_user "${words[@]}" >"$work/action.log" 2>&1 &
# A new user's program browses the Pictures folder; only a running VorodOdir goes on from
# its first picture to the second by itself.
check "the action starts a VorodOdir of the Pictures folder" xsession_window '^lighthouse\.jpg' 30
stop_program

# --- the manual page and the desktop's defaults -------------------------------------------
man_page_shows() { as_user man -P cat korvid 2>/dev/null | grep -q 'browse folders of pictures, sounds and videos'; }
default_is_program() { [ "$(as_user xdg-mime query default "$1")" = "$app_id.desktop" ]; }
default_is_other() { ! default_is_program "$1"; }
check "man korvid shows the page" man_page_shows
cache="$sys/usr/share/applications/mimeinfo.cache"
for type in $(sed -n 's/^MimeType=//p' "$entry" | tr ';' ' '); do
    others=$(sed -n "s|^$type=||p" "$cache" | tr ';' '\n' | grep -v -x -e "$app_id.desktop" -e '' || true)
    if [ -z "$others" ]; then
        check "xdg-mime names the program for $type" default_is_program "$type"
    else
        check "$type lists the program beside $(echo $others)" grep -q "^$type=.*$app_id.desktop" "$cache"
    fi
done

# --- remove ---------------------------------------------------------------------------
in_system apt-get remove -y -qq korvid >/dev/null
check "removing takes the program, its entry and its manual page away" \
    [ ! -e "$sys/usr/bin/korvid" -a ! -e "$entry" -a ! -e "$sys/usr/share/man/man1/korvid.1.gz" ]
check "xdg-mime no longer names the program for image/x-pcx" default_is_other image/x-pcx

if [ "$failures" -ne 0 ]; then
    echo "test-deb: $failures check(s) failed" >&2
    exit 1
fi
echo "test-deb: the package installs, works and is removed cleanly (tested in $mode mode)"
