#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Korvid developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installs the Debian 12 packages that building, running and testing Korvid need, and
# says which ones it installs. Packages already present are left alone.
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ pkg-config
    # user interface
    qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-svg-dev qt6-qpa-plugins
    # picture decoders and the media engine
    libjpeg62-turbo-dev libpng-dev libgif-dev libtiff-dev libgstreamer1.0-dev
    # colour profiles, and the ICC files the colour tests embed in their pictures
    liblcms2-dev icc-profiles-free colord-data libgs-common
    qt6-multimedia-dev gstreamer1.0-plugins-good gstreamer1.0-plugins-bad gstreamer1.0-libav
    # gst-launch-1.0, which the window tests use to make their videos
    gstreamer1.0-tools
    timgm6mb-soundfont pulseaudio pulseaudio-utils
    # tests and the look of the program under a virtual screen
    xvfb xauth clang-format imagemagick fonts-dejavu-core poppler-utils
    # the locked full-screen show and the window tests under a real X server and window
    # manager (xmessage, from x11-utils, is the other program that takes the activation)
    openbox xdotool x11-utils dbus-daemon libxcb1-dev
    # a headless Wayland compositor and Qt's Wayland platform, where the show says it cannot
    # lock
    weston qt6-wayland
    # the desktop's trash reader the trash tests compare with (gio trash --list), and the
    # icon theme that file-type pictures come from when no desktop names one
    libglib2.0-bin gvfs gvfs-daemons adwaita-icon-theme
    # the print server and its PDF printer that the printing tests print through
    cups cups-client printer-driver-cups-pdf
    # the Debian package (make deb): its build and lintian, the checks of the desktop entry,
    # the AppStream metadata and the manual page, and the fresh Debian root it is tested in
    debhelper dpkg-dev lintian desktop-file-utils appstream man-db xdg-utils debootstrap
    # fuzzing (make fuzz) and benchmarks (build/bin/korvid-bench)
    clang libclang-rt-14-dev libjpeg-turbo-progs
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "install-deps: installing Debian packages: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "install-deps: run as root or install sudo" >&2; exit 1; }
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
