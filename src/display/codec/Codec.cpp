// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/codec/Codec.h"

#include <QBuffer>
#include <QFile>
#include <QResource>

#include "display/codec/ColorProfile.h"
#include "display/codec/Decoders.h"
#include "display/codec/ImageInfo.h"
#include "platform/Platform.h"
#include "toolkit/PlatformIni.h"

TProgressCallback ProgressCallback;

namespace {

thread_local QString t_lastError;

using Decoder = QImage (*)(QIODevice &, DecodeContext &);

// Opens, decodes and reduces one file. assignAlways: the bitmap takes the result even
// when the read fails.
bool readFile(Decoder decode, bool assignAlways, const QString &fileName, int colorBits, int dither,
              QImage &bitmap, const TProgressCallback &progress, const TSight &sight = {},
              TSightResult *result = nullptr)
{
    DecodeContext ctx(progress);
    ctx.setShownColorBits(colorBits);
    ctx.setCoverSize(sight.cover, sight.coverMode);
    ctx.setCentredRegion(sight.region);
    ctx.setRowsWatch(sight.rows);
    QImage image;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        ctx.fail(QStringLiteral("%1 cannot be opened: %2").arg(fileName, file.errorString()));
    } else if (ctx.begin()) {
        image = decode(file, ctx);
        if (!image.isNull()) {
            // In place, on this thread, before any reduction of the colours.
            if (!ctx.colorsConverted())
                ConvertToDisplay(image, ctx.colorProfile());
            image = ApplyColorDepth(std::move(image), colorBits, dither != 0);
        }
        ctx.end();
    }
    const bool ok = !image.isNull() && !ctx.stopped();
    t_lastError = ok ? QString() : ctx.error();
    if (ok || assignAlways)
        bitmap = ok ? std::move(image) : QImage();
    if (result)
        *result = ok ? TSightResult{ctx.fullSize(), ctx.regionDecoded()} : TSightResult{};
    return ok;
}

} // namespace

bool ReadBmpFile(const QString &FileName, int ColorBits, int Dither, QImage &Bitmap,
                 const TProgressCallback &Progress)
{
    return readFile(DecodeBmp, true, FileName, ColorBits, Dither, Bitmap, Progress);
}

bool ReadPngFile(const QString &FileName, int ColorBits, int Dither, QImage &Bitmap,
                 const TProgressCallback &Progress)
{
    return readFile(DecodePng, true, FileName, ColorBits, Dither, Bitmap, Progress);
}

bool ReadGifFile(const QString &FileName, int ColorBits, int Dither, QImage &Bitmap,
                 const TProgressCallback &Progress)
{
    return readFile(DecodeGif, false, FileName, ColorBits, Dither, Bitmap, Progress);
}

bool ReadTifFile(const QString &FileName, int ColorBits, int Dither, QImage &Bitmap,
                 const TProgressCallback &Progress)
{
    return readFile(DecodeTiff, false, FileName, ColorBits, Dither, Bitmap, Progress);
}

bool ReadPcxFile(const QString &FileName, int ColorBits, int Dither, QImage &Bitmap,
                 const TProgressCallback &Progress)
{
    return readFile(DecodePcx, true, FileName, ColorBits, Dither, Bitmap, Progress);
}

bool ReadJpgFile(const QString &FileName, int ColorBits, int Dither, QImage &Bitmap,
                 const TProgressCallback &Progress)
{
    return readFile(DecodeJpeg, false, FileName, ColorBits, Dither, Bitmap, Progress);
}

bool ReadJpgFileSight(const QString &FileName, int ColorBits, int Dither, const TSight &Sight,
                      QImage &Bitmap, TSightResult &Result, const TProgressCallback &Progress)
{
    return readFile(DecodeJpeg, false, FileName, ColorBits, Dither, Bitmap, Progress, Sight,
                    &Result);
}

bool ReadTifFileSight(const QString &FileName, int ColorBits, int Dither, const TSight &Sight,
                      QImage &Bitmap, TSightResult &Result, const TProgressCallback &Progress)
{
    return readFile(DecodeTiff, false, FileName, ColorBits, Dither, Bitmap, Progress, Sight,
                    &Result);
}

TSightReader SightReaderFor(const QString &kindSuffix)
{
    if (kindSuffix == QLatin1String("JPG"))
        return ReadJpgFileSight;
    if (kindSuffix == QLatin1String("TIF"))
        return ReadTifFileSight;
    return nullptr;
}

QString CodecErrorString()
{
    return t_lastError;
}

bool ReadImageInfo(const QString &FileName, QString &TypeText, int &Width, int &Height, int &ValueA,
                   int &ValueB, int &Colors, QString &Description)
{
    TImageInfo info;
    QFile file(FileName);
    const bool ok = file.open(QIODevice::ReadOnly) && ReadImageInfoFrom(file, info);
    TypeText = info.type;
    Width = info.width;
    Height = info.height;
    ValueA = info.valueA;
    ValueB = info.valueB;
    Colors = info.colors;
    Description = info.description;
    return ok;
}

bool MciExtensionKnown(const QString &Ext)
{
    const QString extension = Ext.toUpper();
    const QString stated = PlatformIniValue(QStringLiteral("mci extensions"), extension);
    if (!stated.isEmpty())
        return stated.compare(QLatin1String("none"), Qt::CaseInsensitive) != 0;
    return MediaEngineCanPlay(extension);
}

QString MediaOpenFilter()
{
    static const char *const Sounds[] = {"WAV", "MID", "RMI", "AVI", "MOV"};
    static const char *const SingleNames[] = {"Wav", "Mid", "RMI", "AVI", "Mov"};
    QString filter = QStringLiteral("All Media|*.BMP;*.CMS;*.GIF;*.JPG;*.PCX;*.PNG;*.SCM;*.TIF;");
    bool known[5];
    for (int i = 0; i < 5; ++i) {
        known[i] = MciExtensionKnown(QLatin1String(Sounds[i]));
        if (known[i])
            filter += QStringLiteral("*.%1;").arg(QLatin1String(Sounds[i]));
    }
    filter += QStringLiteral("|BMP|*.BMP|CMS|*.CMS|GIF|*.GIF|JPG|*.JPG|PCX|*.PCX|PNG|*.PNG"
                             "|RTF|*.RTF|SCM|*.SCM|TIF|*.TIF");
    for (int i = 0; i < 5; ++i) {
        if (known[i])
            filter += QStringLiteral("|%1|*.%2")
                          .arg(QLatin1String(SingleNames[i]), QLatin1String(Sounds[i]));
    }
    return filter;
}

bool DibColorInfo(const uchar *data, qsizetype size, int &NumColors, qsizetype &BitsOffset)
{
    NumColors = 0;
    BitsOffset = -1;
    if (!data || size < 4)
        return false;
    const quint32 headerSize =
        quint32(data[0]) | quint32(data[1]) << 8 | quint32(data[2]) << 16 | quint32(data[3]) << 24;
    qint64 colours = 0;
    int entry = 4;
    if (headerSize == 12) {
        if (size < 12)
            return false;
        const int bits = data[10] | data[11] << 8;
        entry = 3;
        colours = bits < 24 ? qint64(1) << bits : 0;
    } else if (headerSize >= 36 && qint64(headerSize) <= size) {
        const int bits = data[14] | data[15] << 8;
        colours = qint64(data[32]) | qint64(data[33]) << 8 | qint64(data[34]) << 16
                  | qint64(data[35]) << 24;
        if (colours == 0 && bits <= 8)
            colours = qint64(1) << bits;
    } else {
        return false;
    }
    const qint64 offset = qint64(headerSize) + colours * entry;
    if (colours > 0x7FFFFFFF || offset > size)
        return false;
    NumColors = int(colours);
    BitsOffset = offset;
    return true;
}

bool ReadResourceBitmap(const QString &ModuleName, const QString &ResourceName, QImage &Bitmap)
{
    const QString root = ModuleName.isEmpty() ? QStringLiteral(":/bitmaps/")
                                              : QStringLiteral(":/%1/bitmaps/").arg(ModuleName);
    QFile resource(root + ResourceName);
    if (!resource.exists())
        resource.setFileName(root + ResourceName.toUpper());
    if (!resource.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = resource.readAll();
    const bool withFileHeader = data.startsWith("BM");
    const qsizetype header = withFileHeader ? 14 : 0;
    int colours = 0;
    qsizetype bits = 0;
    if (!DibColorInfo(reinterpret_cast<const uchar *>(data.constData()) + header,
                      data.size() - header, colours, bits))
        return false;
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    DecodeContext ctx;
    const QImage image = withFileHeader ? DecodeBmp(buffer, ctx) : DecodeDib(buffer, ctx);
    if (image.isNull())
        return false;
    Bitmap = image;
    return true;
}

QString ExtractBaseName(const QString &Path)
{
    qsizetype cut = -1;
    for (const QChar separator : {u':', u'\\', u'/'})
        cut = qMax(cut, Path.lastIndexOf(separator));
    return Path.mid(cut + 1, 64);
}

QString ResourceNameOf(const QString &Path)
{
    const QString base = ExtractBaseName(Path);
    const qsizetype dot = base.indexOf(u'.');
    return dot < 0 ? base : base.left(dot);
}
