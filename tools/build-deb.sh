#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Korvid developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds the Debian package from this source tree with debhelper, into build-deb/
# (korvid_VERSION_amd64.deb with its debug symbols, the source package, .buildinfo and
# .changes), and checks them with lintian, which fails the build on any error or warning.
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(dpkg-parsechangelog -S Version)
upstream=${version%-*}
out=build-deb
stage="$out/korvid-$upstream"
rm -rf "$out"
mkdir -p "$stage"
# The tree as it stands, without build folders or version control: dpkg-buildpackage
# writes its results next to the tree it builds, which is then build-deb/.
tar --exclude=./.git --exclude='./build*' --exclude=./obj-\* -cf - . | tar -xf - -C "$stage"
# The upstream tarball of the source package is the same tree without debian/.
tar --exclude="korvid-$upstream/debian" -czf "$out/korvid_$upstream.orig.tar.gz" -C "$out" "korvid-$upstream"
echo "build-deb: building korvid $version"
(cd "$stage" && dpkg-buildpackage --build=full --no-sign) >"$out/build.log" 2>&1 \
    || { tail -n 40 "$out/build.log" >&2; echo "build-deb: the package build failed (see $out/build.log)" >&2; exit 1; }
rm -rf "$stage"
changes=$(ls "$out"/korvid_*.changes)
echo "build-deb: lintian $changes"
# (--show-overrides would make an overridden warning fail, so the kept ones are listed here.)
lintian --fail-on error,warning --display-info "$changes"
grep -h -v '^#' debian/*.lintian-overrides 2>/dev/null | sed 's/^/build-deb: lintian tag overridden: /'
ls -1 "$out"/*.deb
