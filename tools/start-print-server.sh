#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Korvid developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Makes sure a print server runs with the PDF printer "korvid-pdf" that the printing tests
# print to: starts CUPS when it does not answer and adds the queue, a cups-pdf instance of
# its own that writes into /tmp/korvid-cups-pdf, when it is missing. Without root rights
# or CUPS it says so, and those tests skip.
set -euo pipefail

queue=korvid-pdf
out=/tmp/korvid-cups-pdf

if ! command -v cupsd >/dev/null || ! command -v lpadmin >/dev/null; then
    echo "start-print-server: CUPS is not installed (tools/install-deps.sh installs it)" >&2
    exit 0
fi
if lpstat -p "$queue" >/dev/null 2>&1; then
    exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "start-print-server: the queue $queue is missing and only root can add it" >&2
    exit 0
fi

# The cups-pdf instance named by the queue's address reads its own settings file.
cat >/etc/cups/cups-pdf-korvid.conf <<CONF
Out $out
AnonDirName $out
Label 0
CONF
mkdir -p "$out"
chmod 1777 "$out"

running() { lpstat -r 2>/dev/null | grep -q "scheduler is running"; }
if ! running; then
    # In the foreground of a session of its own: started this way it stays up without
    # a service manager.
    setsid cupsd -f </dev/null >/dev/null 2>&1 &
    for _ in $(seq 1 100); do
        running && break
        sleep 0.1
    done
fi
ppd=$(find /usr/share/ppd/cups-pdf -name 'CUPS-PDF_opt.ppd' | head -n 1)
lpadmin -p "$queue" -E -v cups-pdf:/korvid -P "$ppd"
cupsenable "$queue" && cupsaccept "$queue"
echo "start-print-server: CUPS runs with the PDF printer $queue, writing into $out"
