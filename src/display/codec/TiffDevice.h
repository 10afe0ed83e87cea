// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <tiffio.h>

class QIODevice;

// Where libtiff reads from: a device, from its position at opening on.
struct TiffSource
{
    QIODevice *device = nullptr;
    qint64 start = 0;
};

// Opens the TIFF data of source for reading, with the library's messages going to the
// given handlers instead of the terminal, and no allocation above the decode limit.
// source and its device must outlive the returned handle; close it with TIFFClose.
TIFF *OpenTiffDevice(TiffSource &source, TIFFErrorHandlerExtR onError,
                     TIFFErrorHandlerExtR onWarning, void *user);
