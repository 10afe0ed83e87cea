// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/TMultiMP.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScopeGuard>

#include "display/PaintGeometry.h"
#include "display/codec/Codec.h"
#include "display/codec/Decoders.h"
#include "platform/Platform.h"
#include "toolkit/MessageDlg.h"

namespace {

const QString NotFound = QStringLiteral("file not found");
const QString NotCodecPicture = QStringLiteral("Non TIF, JPeg, BMP, GIF, PNG or PCX Image");

// Upper-cased extension with its dot, as the dispatch compares it; ".jpeg" is ".JPG".
QString extensionOf(const QString &name)
{
    const QString suffix = KindSuffix(name);
    return suffix.isEmpty() ? QString() : u'.' + suffix;
}

qint64 fileLength(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.size() : -1;
}

// The largest image an icon file holds.
QImage readIcon(const QString &name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    DecodeContext ctx;
    return DecodeIco(file, ctx);
}

// Metafiles are small; anything larger is surely no metafile and is not read.
TPicture readMetafile(const QString &name)
{
    constexpr qint64 MaxMetafile = qint64(64) << 20;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxMetafile)
        return {};
    return TPicture::fromMetafile(TMetafile::fromData(file.readAll()));
}

TPMultiMedia *Reporter = nullptr;

} // namespace

int ReportProgressOf(TPMultiMedia *control, int percent)
{
    if (!ProgressCallback)
        return 1;
    TPMultiMedia *const outer = Reporter;
    Reporter = control;
    const auto restore = qScopeGuard([outer] { Reporter = outer; });
    return ProgressCallback(percent);
}

TPMultiMedia *ProgressReporter()
{
    return Reporter;
}

TPMultiMedia::TPMultiMedia(QWidget *owner)
    : QWidget(owner)
{
    resize(105, 105);
    setAutoFillBackground(true);
    m_timer.setInterval(500);
    connect(&m_timer, &QTimer::timeout, this, &TPMultiMedia::TimerNotify);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Button));
    setPalette(colours);
}

void TPMultiMedia::setAutoSize(bool value)
{
    m_autoSize = value;
    PictureChanged();
}

void TPMultiMedia::setCenter(bool value)
{
    if (value == m_center)
        return;
    m_center = value;
    update();
}

void TPMultiMedia::setBorderStyle(TBorderStyle value)
{
    if (value == m_borderStyle)
        return;
    m_borderStyle = value;
    // A single border is one pixel wide around the client area.
    setContentsMargins(value == bsSingle ? QMargins(1, 1, 1, 1) : QMargins());
    update();
}

void TPMultiMedia::setPicture(const TPicture &value)
{
    cancelWhole();
    m_fullSize = {};
    m_region = {};
    m_wholeRefused = false;
    m_picture = value;
    m_levels.clear();
    PictureChanged();
}

void TPMultiMedia::setJPegSaveQuality(int value)
{
    m_jpegSaveQuality = value >= 1 && value <= 100 ? value : 25;
}

void TPMultiMedia::setJPegSaveSmooth(int value)
{
    m_jpegSaveSmooth = value >= 0 && value <= 100 ? value : 5;
}

void TPMultiMedia::setStretch(bool value)
{
    if (value == m_stretch)
        return;
    m_stretch = value;
    if (value)
        m_stretchRatio = false;
    update();
    needMore();
}

void TPMultiMedia::setStretchRatio(bool value)
{
    if (value == m_stretchRatio)
        return;
    m_stretchRatio = value;
    if (value)
        m_stretch = false;
    update();
    needMore();
}

void TPMultiMedia::setText(const QString &value)
{
    if (value == m_text)
        return;
    m_text = value;
    update();
}

void TPMultiMedia::setTextShadow(bool value)
{
    if (value == m_textShadow)
        return;
    m_textShadow = value;
    update();
}

void TPMultiMedia::setTextLeft(int value)
{
    if (value == m_textLeft)
        return;
    m_textLeft = value;
    update();
}

void TPMultiMedia::setTextTop(int value)
{
    if (value == m_textTop)
        return;
    m_textTop = value;
    update();
}

void TPMultiMedia::setTextRotate(int value)
{
    if (value == m_textRotate)
        return;
    m_textRotate = value;
    update();
}

void TPMultiMedia::setTextTransParent(bool value)
{
    if (value == m_textTransparent)
        return;
    m_textTransparent = value;
    update();
}

QString TPMultiMedia::MediaName()
{
    return LoadMedia();
}

void TPMultiMedia::setMediaName(const QString &name)
{
    m_mediaName = name;
    LoadMedia();
}

int TPMultiMedia::colorBits() const
{
    switch (m_imageReadRes) {
    case lColorVga:
        return 0;
    case lMonoChrome:
        return 1;
    case lColor16:
        return 4;
    case lColor256:
        return 8;
    case lColorTrue:
        return 24;
    default:
        return DeviceColorBits(this);
    }
}

void TPMultiMedia::failed(const QString &message)
{
    if (!m_quietMode)
        MessageDlg(this, ApplicationTitle, message, QMessageBox::Information, QMessageBox::Ok);
}

bool TPMultiMedia::loadCodecPicture(const QString &name, const QString &extension)
{
    using Reader = bool (*)(const QString &, int, int, QImage &, const TProgressCallback &);
    struct Row
    {
        const char *extension;
        Reader reader;
        const char *message;
    };
    static const Row Rows[] = {
        {".BMP", ReadBmpFile, "Reading bmp file failed"},
        {".PNG", ReadPngFile, "Reading png file failed"},
        {".GIF", ReadGifFile, "Reading gif file failed"},
        {".TIF", ReadTifFile,
         "Reading TIF file failed - Compressed TIF not supported, see help file."},
        {".PCX", ReadPcxFile, "Reading pcx file failed"},
        {".JPG", ReadJpgFile, "Reading jpg file failed"},
    };
    QImage bitmap;
    TSightResult seen;
    bool ok = false;
    QString message;
    // A load the progress routine stopped was not a failure: the user asked for it.
    bool stopped = false;
    TProgressCallback progress;
    if (ProgressCallback)
        progress = [this, &stopped](int percent) {
            const int goOn = ReportProgressOf(this, percent);
            stopped = stopped || goOn == 0;
            return goOn;
        };
    if (extension == QLatin1String(".RES")) {
        ok = ReadResourceBitmap(m_resourceModule, ResourceNameOf(name), bitmap);
        message = QStringLiteral("Reading resource file failed");
    } else {
        const int bits = colorBits();
        const int dither = m_imageDither ? 1 : 0;
        const TSightReader sightReader = SightReaderFor(extension.mid(1));
        const TSight sight = sightReader ? loadSight(false) : TSight{};
        for (const Row &row : Rows) {
            if (extension == QLatin1String(row.extension)) {
                message = QLatin1String(row.message);
                if (m_prefetch
                    && m_prefetch->take(name, bits, dither, sight, bitmap, seen, progress)) {
                    ok = true;
                    if (progress)
                        progress(100);
                } else if (sightReader) {
                    ok = sightReader(name, bits, dither, sight, bitmap, seen, progress);
                } else {
                    ok = row.reader(name, bits, dither, bitmap, progress);
                }
                break;
            }
        }
    }
    if (!ok) {
        if (!stopped)
            failed(message);
        return false;
    }
    // The file as it was when first seen, so a later read of the rest can tell a change.
    const QFileInfo info(name);
    const std::array<qint64, 2> stamp{info.size(), info.lastModified().toMSecsSinceEpoch()};
    setPicture(TPicture::fromBitmap(std::move(bitmap)));
    m_fullSize = seen.fullSize;
    m_region = seen.region;
    m_sightFile = name;
    m_sightStamp = stamp;
    ReadMediaInfo(name);
    PictureChanged();
    needMore();
    return true;
}

void TPMultiMedia::PrefetchFiles(const QStringList &files)
{
    if (m_prefetch)
        m_prefetch->prefetch(files, colorBits(), m_imageDither ? 1 : 0,
                             m_picture.isBitmap() ? qint64(m_picture.image().sizeInBytes()) : 0,
                             loadSight(true));
}

QString TPMultiMedia::loadSoundOrVideo(const QString &name, const QString &extension)
{
    // A type this machine cannot play is passed over without a word.
    if (!MciExtensionKnown(extension.mid(1)))
        return m_loadedName;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restoreCursor = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
    ClearMessage();
    if (m_mediaPlayer) {
        TMIMediaPlayer &player = *m_mediaPlayer;
        player.setWait(true);
        player.Close();
        player.setVisible(true);
        player.setFileName(name);
        player.setWait(true);
        bool ok = player.Open();
        if (ok && m_autoPlay)
            ok = player.Play();
        if (ok) {
            m_timerFailed = false;
            m_timer.start();
        } else {
            // Told even in quiet mode: the owner asked for this file to play.
            MessageDlg(this, ApplicationTitle, QStringLiteral("Reading video file failed"),
                       QMessageBox::Information, QMessageBox::Ok);
        }
    }
    m_loadedName = name.toUpper();
    return m_loadedName;
}

void TPMultiMedia::TimerNotify()
{
    if (!m_mediaPlayer || !(m_autoRePlay || m_mediaPlayer->Mode() == mpPlaying))
        return;
    const qint64 position = m_mediaPlayer->Position();
    const qint64 length = m_mediaPlayer->Length();
    if (position < 0 || length <= 0) {
        // Said once for each opened media, not on every tick.
        if (!m_timerFailed) {
            m_timerFailed = true;
            MessageDlg(this, ApplicationTitle,
                       QStringLiteral("Error during TimerNotify for TPMultiMedia!"),
                       QMessageBox::Information, QMessageBox::Ok);
        }
        return;
    }
    const int percent = RoundHalfEven(double(position) * (100.0 / double(length)));
    ReportProgressOf(this, percent);
    if (m_autoRePlay && percent >= 100 && !m_mediaPlayer->FileName().isEmpty())
        m_mediaPlayer->Play();
}

void TPMultiMedia::StopMedia()
{
    m_timer.stop();
    if (m_mediaPlayer) {
        m_mediaPlayer->setWait(true);
        m_mediaPlayer->Close();
    }
}

QString TPMultiMedia::LoadMedia()
{
    const QString name = m_mediaName;
    const QString extension = extensionOf(name);
    if (m_mediaPlayer)
        m_mediaPlayer->Close();
    if (extension != QLatin1String(".RES") && !QFileInfo(name).isFile()) {
        // Nothing stays on show, a running message neither.
        ClearMessage();
        m_loadedName = NotFound;
        return m_loadedName;
    }
    static const QStringList CodecRows = {".BMP", ".RES", ".PNG", ".GIF", ".TIF", ".PCX", ".JPG"};
    auto prepare = [this] {
        if (m_mediaPlayer && m_autoHide)
            m_mediaPlayer->setVisible(false);
        m_timer.stop();
        ReportProgressOf(this, 0);
        ClearMessage();
    };

    if (extension == QLatin1String(".ICO") || extension == QLatin1String(".WMF")) {
        prepare();
        const TPicture picture = extension == QLatin1String(".ICO")
                                     ? TPicture::fromIcon(readIcon(name))
                                     : readMetafile(name);
        if (picture.isEmpty())
            throw TMediaReadError("The picture cannot be read: " + name.toStdString());
        setPicture(picture);
        m_loadedName = NotCodecPicture;
        ReadMediaInfo(name);
        return m_loadedName;
    }
    if (extension == QLatin1String(".SCM") || extension == QLatin1String(".CMS")) {
        prepare();
        // A number that is not one ends the load without a word.
        try {
            if (extension == QLatin1String(".SCM"))
                LoadTaggedMessage(name);
            else
                LoadLineMessage(name);
            ReadMediaInfo(name);
        } catch (const std::exception &) {
            ClearMessage();
        }
        m_loadedName = name.toUpper();
        return m_loadedName;
    }
    static const QStringList MediaRows = {".MID", ".RMI", ".AVI", ".MOV", ".WAV"};
    if (MediaRows.contains(extension)) {
        // A type this machine cannot play is passed over without a word.
        if (!MciExtensionKnown(extension.mid(1)))
            return m_loadedName;
        return loadSoundOrVideo(name, extension);
    }
    if (CodecRows.contains(extension)) {
        prepare();
        // Whatever goes wrong inside a row leaves the control empty, never half-loaded.
        try {
            if (!loadCodecPicture(name, extension))
                setPicture(TPicture());
        } catch (const std::exception &) {
            setPicture(TPicture());
        }
    }
    m_loadedName = name.toUpper();
    return m_loadedName;
}

bool TPMultiMedia::ReadMediaInfo(const QString &fileName)
{
    const QString extension = extensionOf(fileName).left(4);
    if (extension == QLatin1String(".RES")) {
        MediaType = QStringLiteral("RES");
        MediaWidth = m_picture.width();
        MediaHeight = m_picture.height();
        MediaValueA = MediaValueB = MediaColors = 0;
        MediaDescription = QStringLiteral("BMP");
        // Pixel data and the information header, as the bitmap would be stored.
        MediaFileSize = m_picture.image().sizeInBytes() + 40;
        return true;
    }
    if (extension == QLatin1String(".WMF") || extension == QLatin1String(".ICO")
        || extension == QLatin1String(".SCM") || extension == QLatin1String(".CMS")) {
        if (!QFileInfo(fileName).isFile()) {
            MediaType = MediaDescription = QStringLiteral("ERR");
            MediaWidth = MediaHeight = MediaValueA = MediaValueB = MediaColors = -1;
            MediaFileSize = -1;
            return false;
        }
        MediaType = MediaDescription = extension.mid(1);
        MediaWidth = m_picture.width();
        MediaHeight = m_picture.height();
        MediaValueA = MediaValueB = MediaColors = 0;
        MediaFileSize = fileLength(fileName);
        return true;
    }
    const bool ok = ReadImageInfo(fileName, MediaType, MediaWidth, MediaHeight, MediaValueA,
                                  MediaValueB, MediaColors, MediaDescription);
    MediaFileSize = fileLength(fileName);
    return ok;
}

void TPMultiMedia::PictureChanged()
{
    const QSize shown = PictureSize();
    if (m_autoSize && shown.width() >= 1 && shown.height() >= 1)
        resize(shown);
    updateOpaque();
    update();
}

void TPMultiMedia::updateOpaque()
{
    // A bitmap exactly the control's size covers it; any other size leaves room around it
    // that the background must fill, or what was drawn there before stays.
    setAttribute(Qt::WA_OpaquePaintEvent,
                 m_picture.isBitmap() && HasWholePicture() && m_picture.image().size() == size());
}

void TPMultiMedia::RedrawPicture()
{
    repaint();
}

void TPMultiMedia::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_borderStyle == bsSingle) {
        painter.setPen(palette().color(QPalette::Shadow));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    const QRect client = contentsRect();
    painter.translate(client.topLeft());
    painter.setClipRect(QRect(QPoint(0, 0), client.size()));
    if (m_picture.kind() == TPicture::Icon || m_picture.kind() == TPicture::Metafile
        || !m_imageLibPalette)
        paintSimple(painter);
    else
        paintPicture(painter);
    paintVideo(painter);
    if ((Marquee || Credits) && !m_strip.isNull())
        painter.drawImage(ScrollX, ScrollY, m_strip);
    if (!m_text.isEmpty())
        drawRotatedText(painter, m_textLeft, m_textTop, m_textRotate, m_textShadow,
                        m_textTransparent, m_textShadowColor, m_text);
    Q_EMIT OnPaint(this);
}

void TPMultiMedia::paintPicture(QPainter &painter)
{
    if (!m_picture.isBitmap())
        return;
    const QRect client = contentsRect();
    const int cw = client.width();
    const int ch = client.height();
    const QSize shown = PictureSize();
    const int bw = shown.width();
    const int bh = shown.height();
    if (m_stretchRatio || m_stretch) {
        const QRect target =
            m_stretchRatio ? StretchRatioRect(cw, ch, bw, bh) : QRect(0, 0, cw, ch);
        m_levels.draw(painter, heldRect(target), m_picture.image(), devicePixelRatioF());
    } else {
        // One picture pixel is one device pixel, whatever the screen's scale.
        const qreal ratio = devicePixelRatioF();
        const int pw = qRound(bw / ratio);
        const int ph = qRound(bh / ratio);
        const QPoint origin = m_center ? CenterOrigin(cw, ch, pw, ph) : QPoint(0, 0);
        if (!HasWholePicture()) {
            // Until the rest arrives: its rows read so far, the part read first, or the
            // first sight enlarged.
            const QImage arrived = rowsArrived();
            if (!arrived.isNull())
                painter.drawImage(QRectF(origin, QSizeF(arrived.size()) / ratio), arrived);
            m_levels.draw(painter, heldRect(QRectF(origin, QSizeF(pw, ph))), m_picture.image(),
                          ratio);
            return;
        }
        QImage unscaled = m_picture.image();
        unscaled.setDevicePixelRatio(ratio);
        painter.drawImage(origin, unscaled);
    }
}

void TPMultiMedia::paintVideo(QPainter &painter)
{
    if (!m_mediaPlayer || m_mediaPlayer->Display() != this)
        return;
    const QVideoFrame frame = m_mediaPlayer->currentFrame();
    if (!frame.isValid())
        return;
    painter.save();
    QRect target = m_mediaPlayer->DisplayRect();
    if (target.isEmpty()) {
        // No place given: the frame is scaled into the control keeping its shape, over
        // whatever was shown before.
        const QSize client = contentsRect().size();
        painter.fillRect(QRect(QPoint(0, 0), client), palette().color(QPalette::Window));
        target = StretchRatioRect(client.width(), client.height(), frame.width(), frame.height());
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, frame.toImage());
    painter.restore();
}

void TPMultiMedia::paintSimple(QPainter &painter)
{
    if (m_picture.isEmpty())
        return;
    QRect target(0, 0, m_picture.width(), m_picture.height());
    if (m_stretch) {
        target = QRect(QPoint(0, 0), contentsRect().size());
    } else if (m_center) {
        // The control's outer size, border included.
        target.moveTopLeft(CenterOrigin(width(), height(), m_picture.width(), m_picture.height()));
    }
    m_picture.draw(painter, target);
}

void TPMultiMedia::drawRotatedText(QPainter &painter, int x, int y, int angle, bool shadow,
                                   bool transparent, const QColor &shadowColor, const QString &text)
{
    painter.save();
    painter.setFont(font());
    painter.setBackgroundMode(transparent ? Qt::TransparentMode : Qt::OpaqueMode);
    painter.setBackground(m_savedBrushColor);
    const int ascent = painter.fontMetrics().ascent();
    // The text cell's top-left corner is the origin; the angle turns counter-clockwise.
    auto write = [&](int left, int top, const QColor &colour) {
        painter.save();
        painter.translate(left, top);
        painter.rotate(-angle);
        painter.setPen(colour);
        painter.drawText(QPoint(0, ascent), text);
        painter.restore();
    };
    if (shadow)
        write(x + 2, y + 2, shadowColor);
    write(x, y, palette().color(QPalette::WindowText));
    painter.restore();
}

void TPMultiMedia::CopyToClipboard()
{
    if (!m_picture.isEmpty() && WholePicture())
        QGuiApplication::clipboard()->setImage(m_picture.image());
}

void TPMultiMedia::CutToClipboard()
{
    if (m_picture.isEmpty())
        return;
    CopyToClipboard();
    setPicture(TPicture());
}

void TPMultiMedia::PasteFromClipboard()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasImage())
        return;
    const QImage image = qvariant_cast<QImage>(data->imageData());
    if (image.isNull())
        return;
    Marquee = false;
    Credits = false;
    setPicture(TPicture::fromBitmap(image));
}

void TPMultiMedia::keyPressEvent(QKeyEvent *event)
{
    Q_EMIT OnKeyDown(event);
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    const int key = event->key();
    if ((modifiers == Qt::ShiftModifier && key == Qt::Key_Insert)
        || (modifiers == Qt::ControlModifier && key == Qt::Key_V))
        PasteFromClipboard();
    else if (modifiers == Qt::ControlModifier && (key == Qt::Key_Insert || key == Qt::Key_C))
        CopyToClipboard();
    else if ((modifiers == Qt::ShiftModifier && key == Qt::Key_Delete)
             || (modifiers == Qt::ControlModifier && key == Qt::Key_X))
        CutToClipboard();
    else
        QWidget::keyPressEvent(event);
}

void TPMultiMedia::focusInEvent(QFocusEvent *event)
{
    update();
    QWidget::focusInEvent(event);
}

void TPMultiMedia::focusOutEvent(QFocusEvent *event)
{
    update();
    QWidget::focusOutEvent(event);
}
