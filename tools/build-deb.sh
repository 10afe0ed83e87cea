#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Korvid developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds the Debian package from this source tree with debhelper, into build-deb/
# (korvid_VERSION_amd64.deb with its debug symbols, .buildinfo and .changes), and checks
# it with lintian, which fails the build on any error or warning.
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
echo "build-deb: building korvid $version"
(cd "$stage" && dpkg-buildpackage --build=binary --no-sign) >"$out/build.log" 2>&1 \
    || { tail -n 40 "$out/build.log" >&2; echo "build-deb: the package build failed (see $out/build.log)" >&2; exit 1; }
rm -rf "$stage"
changes=$(ls "$out"/korvid_*.changes)
echo "build-deb: lintian $changes"
lintian --fail-on error,warning --display-info --show-overrides "$changes"
ls -1 "$out"/*.deb
