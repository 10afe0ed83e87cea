// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

#include "display/codec/ColorDepth.h"
#include "display/codec/DecodeContext.h"

// The codec unit: reading pictures from files into bitmaps, and the small services
// around it that the display control and the open dialog use.

// The loading-progress routine the display control hands to the readers; empty at start.
extern TProgressCallback ProgressCallback;

// Each reads FileName into Bitmap at the requested colour depth (ColorBits 0, 1, 4, 8 or
// 24; Dither 1 to dither, 0 not), reporting progress to Progress, which may stop the
// load. True on success; a picture whose data ends early counts as read, showing what
// could be decoded. ReadBmpFile, ReadPcxFile and ReadPngFile replace Bitmap in every case
// (with an empty picture on failure); the others leave it alone on failure.
bool ReadBmpFile(const QString &FileName, int ColorBits, int Dither, QImage &Bitmap,
                 const TProgressCallback &Progress);
bool ReadPngFile(const QString &FileName, int ColorBits, int Dither, QImage &Bitmap,
                 const TProgressCallback &Progress);
bool ReadGifFile(const QString &FileName, int ColorBits, int Dither, QImage &Bitmap,
                 const TProgressCallback &Progress);
bool ReadTifFile(const QString &FileName, int ColorBits, int Dither, QImage &Bitmap,
                 const TProgressCallback &Progress);
bool ReadPcxFile(const QString &FileName, int ColorBits, int Dither, QImage &Bitmap,
                 const TProgressCallback &Progress);
bool ReadJpgFile(const QString &FileName, int ColorBits, int Dither, QImage &Bitmap,
                 const TProgressCallback &Progress);

// What the first sight of a picture needs (see DecodeContext::setCoverSize and
// setCentredRegion); all empty for the whole picture.
struct TSight
{
    QSize cover;
    Qt::AspectRatioMode coverMode = Qt::IgnoreAspectRatio;
    QSize region;
    // Where the display watches the rows of a whole picture arrive; none for a sight.
    std::shared_ptr<TDecodeRows> rows;
    bool operator==(const TSight &) const = default;
};
// What a read gave when it was less than the whole picture at its size: that full size as
// shown, and, for a part, where the bitmap lies in it. Both empty for the whole picture.
struct TSightResult
{
    QSize fullSize;
    QRect region;
};
// ReadJpgFile for a first sight: the bitmap may be scaled down or a part, as Result says.
bool ReadJpgFileSight(const QString &FileName, int ColorBits, int Dither, const TSight &Sight,
                      QImage &Bitmap, TSightResult &Result, const TProgressCallback &Progress);
// ReadTifFile for a first sight: a reduced-resolution copy the file holds may come first.
bool ReadTifFileSight(const QString &FileName, int ColorBits, int Dither, const TSight &Sight,
                      QImage &Bitmap, TSightResult &Result, const TProgressCallback &Progress);
using TSightReader = bool (*)(const QString &, int, int, const TSight &, QImage &, TSightResult &,
                              const TProgressCallback &);
// The reader that can give a first sight of a file of this kind ("JPG", "TIF"), or none.
TSightReader SightReaderFor(const QString &kindSuffix);

// Why the last read on this thread failed, for diagnostics; empty after a success.
QString CodecErrorString();

// Reads what the file's header tells about its picture, without decoding it: type text
// ("BMP", "GIF", "JPG", "PCX", "PNG", "TIF"), size, value A (bits per pixel), value B
// (horizontal dots per inch, 0 when unknown), colour count (0 for true colour) and a
// description. The outputs are set in every case (empty and 0 on failure).
bool ReadImageInfo(const QString &FileName, QString &TypeText, int &Width, int &Height, int &ValueA,
                   int &ValueB, int &Colors, QString &Description);

// Whether sounds or videos with this extension (without the dot, such as "WAV") can be
// played here: platform.ini's [mci extensions] decides when it names the extension
// ("none" meaning no), otherwise what the media engine can really play.
bool MciExtensionKnown(const QString &Ext);

// The file-type filter of the multimedia open dialog.
QString MediaOpenFilter();

// Reads the bitmap resource ResourceName (looked up as given and in upper case) of the
// resource module ModuleName (empty: the program's own), a device-independent bitmap
// with or without a file header. Bitmap is untouched when it cannot be had.
bool ReadResourceBitmap(const QString &ModuleName, const QString &ResourceName, QImage &Bitmap);

// For the device-independent bitmap whose header starts data (size bytes in all): how
// many colours its colour table holds and where its pixels start. On any failure
// NumColors is 0 and BitsOffset -1.
bool DibColorInfo(const uchar *data, qsizetype size, int &NumColors, qsizetype &BitsOffset);

// The characters after the last ':', '\' or '/' of Path (all of it when there is none),
// at most 64 of them.
QString ExtractBaseName(const QString &Path);
// ExtractBaseName of Path, cut before its first '.'.
QString ResourceNameOf(const QString &Path);
