// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/codec/TiffDevice.h"

#include <QIODevice>

#include <limits>

#include "display/codec/DecodeContext.h"

namespace {

tmsize_t readProc(thandle_t h, void *buffer, tmsize_t size)
{
    auto *handle = static_cast<TiffSource *>(h);
    const qint64 got = handle->device->read(static_cast<char *>(buffer), qint64(size));
    return got < 0 ? 0 : tmsize_t(got);
}

tmsize_t writeProc(thandle_t, void *, tmsize_t)
{
    return 0;
}

toff_t seekProc(thandle_t h, toff_t offset, int whence)
{
    auto *handle = static_cast<TiffSource *>(h);
    QIODevice *device = handle->device;
    const qint64 size = device->size() - handle->start;
    qint64 base = 0;
    if (whence == SEEK_CUR)
        base = device->pos() - handle->start;
    else if (whence == SEEK_END)
        base = size;
    // Offsets are unsigned; anything past the data is refused rather than wrapped.
    if (offset > toff_t(std::numeric_limits<qint64>::max() / 2))
        return toff_t(-1);
    const qint64 target = base + qint64(offset);
    if (target < 0 || target > size || !device->seek(handle->start + target))
        return toff_t(-1);
    return toff_t(target);
}

int closeProc(thandle_t)
{
    return 0;
}

toff_t sizeProc(thandle_t h)
{
    auto *handle = static_cast<TiffSource *>(h);
    return toff_t(qMax<qint64>(0, handle->device->size() - handle->start));
}

int mapProc(thandle_t, void **, toff_t *)
{
    return 0;
}

void unmapProc(thandle_t, void *, toff_t) {}

} // namespace

TIFF *OpenTiffDevice(TiffSource &source, TIFFErrorHandlerExtR onError,
                     TIFFErrorHandlerExtR onWarning, void *user)
{
    TIFFOpenOptions *options = TIFFOpenOptionsAlloc();
    if (!options)
        return nullptr;
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t(DecodeLimit()));
    TIFFOpenOptionsSetErrorHandlerExtR(options, onError, user);
    TIFFOpenOptionsSetWarningHandlerExtR(options, onWarning, user);
    // "m": never map the file, the device is all there is.
    TIFF *tif = TIFFClientOpenExt("picture", "rm", &source, readProc, writeProc, seekProc,
                                  closeProc, sizeProc, mapProc, unmapProc, options);
    TIFFOpenOptionsFree(options);
    return tif;
}
