#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Korvid developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# What the desktop and the package read about the program: the desktop entry, the
# AppStream metadata and the manual page pass their validators, and agree with each other
# and with the program. Usage: tst_metadata.sh SOURCE_DIR KORVID_BINARY
set -uo pipefail
src=$1
korvid=$2
entry=$src/resources/desktop/io.github.korvid.korvid.desktop
metainfo=$src/resources/desktop/io.github.korvid.korvid.metainfo.xml
manpage=$src/resources/man/korvid.1
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# --- validators: not even a hint or a pedantic remark -------------------------------
said=$(desktop-file-validate "$entry" 2>&1)
[ -z "$said" ] || fail "desktop-file-validate: $said"
said=$(appstreamcli validate --pedantic --no-net --no-color "$metainfo" 2>&1)
grep -q '^[EWIP]:' <<<"$said" && fail "appstreamcli: $said"
said=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$manpage" 2>&1 >/dev/null)
[ -z "$said" ] || fail "the manual page renders with warnings: $said"

# --- one version everywhere ----------------------------------------------------------
version=$("$korvid" --version | sed 's/^Version //')
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
grep -q "^korvid ($version-" "$src/debian/changelog" || fail "debian/changelog is not at $version"
grep -q "^\.TH KORVID 1 .* \"korvid $version\"" "$manpage" || fail "the manual page is not of $version"

# --- the manual page names every switch the program takes ------------------------------
page=$(MANWIDTH=200 man -P cat -l "$manpage" 2>/dev/null)
for switch in $("$korvid" --help | grep -o -E '(^| )(/[A-Z]|--?[a-z-]+)\b' | sort -u); do
    grep -q -F -- "$switch" <<<"$page" || fail "the manual page does not name $switch"
done
files=$(sed -n '/^FILES/,/^ENVIRONMENT/p' <<<"$page")
for file in KORVID.INI bmarks.dat platform.ini; do
    grep -q -F "$file" <<<"$files" || fail "the manual page's FILES do not describe $file"
done

# --- the entry and the metainfo agree -------------------------------------------------
types=$(sed -n 's/^MimeType=//p' "$entry" | tr ';' '\n')
for type in $(sed -n 's|.*<mediatype>\(.*\)</mediatype>.*|\1|p' "$metainfo"); do
    grep -q -x -F "$type" <<<"$types" || fail "the metainfo provides $type, the desktop entry does not"
done
grep -q "<launchable type=\"desktop-id\">$(basename "$entry")</launchable>" "$metainfo" \
    || fail "the metainfo does not launch $(basename "$entry")"
shot=$src/resources/desktop/screenshots/main-window.png
size=$(identify -format 'width="%w" height="%h"' "$shot")
grep -q "<image type=\"source\" $size>.*/$(basename "$shot")</image>" "$metainfo" \
    || fail "the metainfo does not give the screenshot's size ($size)"
main=$(sed -n 's/^Categories=//p' "$entry" | tr ';' '\n' \
    | grep -c -x -E 'AudioVideo|Audio|Video|Development|Education|Game|Graphics|Network|Office|Science|Settings|System|Utility')
[ "$main" -eq 1 ] || fail "the desktop entry has $main main categories"

# --- every extension the program opens has a type the desktop entry claims -------------
# The shared MIME database and the program's own additions say which type a name has.
python3 - "$src/resources/desktop/korvid-mime.xml" "$types" <<'EOF' || failures=$((failures + 1))
import fnmatch, os, sys, xml.etree.ElementTree as ET

globs = []
for base in os.environ.get("XDG_DATA_DIRS", "/usr/local/share:/usr/share").split(":"):
    path = os.path.join(base, "mime", "globs2")
    if os.path.exists(path):
        for line in open(path, encoding="utf-8"):
            if not line.startswith("#"):
                weight, mime, pattern = line.rstrip("\n").split(":")[:3]
                globs.append((mime, pattern))
ns = "{http://www.freedesktop.org/standards/shared-mime-info}"
for kind in ET.parse(sys.argv[1]).getroot().iter(ns + "mime-type"):
    for glob in kind.iter(ns + "glob"):
        globs.append((kind.get("type"), glob.get("pattern")))
claimed = set(sys.argv[2].split())
bad = 0
for ext in "bmp gif ico jpg jpeg jpe pcx png tif tiff wmf wav mid rmi avi mov".split():
    name = "picture." + ext.upper()
    kinds = {mime for mime, pattern in globs if fnmatch.fnmatch(name.lower(), pattern.lower())}
    if not kinds & claimed:
        print(f"FAIL: a .{ext} file is {sorted(kinds) or 'of no known type'}; the desktop entry claims none of it", file=sys.stderr)
        bad += 1
sys.exit(1 if bad else 0)
EOF

[ "$failures" -eq 0 ] || { echo "$failures fault(s) in the program's metadata" >&2; exit 1; }
echo "the desktop entry, the metainfo and the manual page are valid and agree"
