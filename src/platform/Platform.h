// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <cstddef>

// The operating-system services the program needs, behind one small interface so that a
// port touches only this folder. Everything here is safe to call from any thread.

// Per-user folder holding KORVID.INI, bmarks.dat and platform.ini; created when missing.
// Ends without a separator.
QString ConfigDir();

// The user's home folder: where browsing falls back when a remembered folder has gone.
QString HomeDir();

// Where browsing starts without settings: the Pictures folder when it exists, else home.
QString DefaultBrowseDir();

// Roots of the mounted, ready volumes, in the order the system reports them.
QStringList VolumeRoots();

// True when the volume holding root can be read now. Never shows a dialog of its own.
bool DriveReady(const QString &root);

// Names of the visible subfolders of directory, unsorted. Reads the entry types the file
// system reports instead of asking about each entry, so a folder of a hundred thousand
// files answers in milliseconds.
QStringList Subdirectories(const QString &directory);

// Copies up to maxBytes from the current position of fromFd to toFd inside the kernel
// where it can (no trip through this program's memory). Returns the bytes copied, 0 at the
// end of the source, -1 on an error (errno tells which).
qint64 CopyFileRange(int fromFd, int toFd, qint64 maxBytes);

// Moves a file or folder to the desktop's trash (freedesktop.org Trash). False, with a
// reason in error, when it cannot; the item then stays where it was.
bool MoveToTrash(const QString &path, QString &error);

// Makes the picture the desktop's wallpaper; false where the desktop cannot be told.
bool SetDesktopWallpaper(const QString &file);

// Keeps the desktop's screen saver from starting until ReleaseScreenSaver gets the
// returned cookie; 0 (and nothing done) when the desktop offers no such service.
quint32 InhibitScreenSaver(const QString &reason);
void ReleaseScreenSaver(quint32 cookie);

// The kind a file name's extension stands for: the extension upper-cased, with the longer
// spellings that programs on this system write folded into the short ones ("JPEG" and
// "JPE" are "JPG", "TIFF" is "TIF"). Empty when the name has no extension.
QString KindSuffix(const QString &fileName);
// The same for a bare extension without its dot.
QString CanonicalSuffix(const QString &suffix);

// Number of directory separators in text; a root such as "/" gives 1, an empty text 0.
int CountBackslashes(const QString &text);

// The desktop's current wallpaper file as set in the desktop environment, or empty when
// it cannot be read.
QString DesktopWallpaper();

// Whether the media engine can play files with this extension (upper case, no dot:
// "WAV", "MID", "RMI", "AVI", "MOV"): the elements it needs are installed, and for MIDI
// a SoundFont too.
bool MediaEngineCanPlay(const QString &extension);

// Text of an older program that wrote this system's single-byte legacy encoding: the
// locale's own where it is not UTF-8, Latin-1 where there is none.
QString DecodeLegacyText(const QByteArray &bytes);

// Memory for a large picture. Where the system offers it, it is backed by huge pages, which
// makes filling a fresh picture several times faster. Release it with FreeLargeBuffer.
void *AllocateLargeBuffer(std::size_t bytes);
void FreeLargeBuffer(void *buffer);

// The screen's ICC colour profile as the desktop gives it (colord, else the X root
// window's _ICC_PROFILE); empty when it gives none, which means sRGB.
QByteArray ScreenColorProfile();
