#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Korvid developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Makes sure a sound server runs, for playback tests on machines without one: starts
# PulseAudio with a null sink (whose monitor tests can record) when none answers.
set -euo pipefail

if pactl info >/dev/null 2>&1; then
    exit 0
fi
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/korvid-runtime-$(id -u)}"
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
pulseaudio --daemonize=yes --exit-idle-time=-1 --disallow-exit --log-target=stderr \
    -n --load="module-native-protocol-unix" --load="module-null-sink sink_name=korvid_null" \
    --load="module-always-sink" 2>/dev/null || true
for _ in $(seq 1 50); do
    if pactl info >/dev/null 2>&1; then
        pactl set-default-sink korvid_null >/dev/null 2>&1 || true
        echo "start-sound-server: PulseAudio runs with the null sink korvid_null"
        exit 0
    fi
    sleep 0.1
done
echo "start-sound-server: no sound server could be started" >&2
exit 1
