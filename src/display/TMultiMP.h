// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>
#include <stdexcept>

#include "display/PictureLevels.h"
#include "display/PicturePrefetch.h"
#include "display/TMIMediaPlayer.h"
#include "display/TPicture.h"
#include "display/codec/MessageFile.h"

enum TBorderStyle { bsNone, bsSingle };
enum TLoadResolution { lColorVga, lMonoChrome, lColor16, lColor256, lColorTrue, lAutoMatic };
enum TSaveResolution {
    sColorVga,
    sMonoChrome,
    sColor16,
    sColor256,
    sColorTrue,
    sJpegGray,
    sAutoMatic
};
enum TTiffCompression { sNONE, sCCITT, sLZW, sPACKBITS };

class QPagedPaintDevice;
struct WholeDecode;

// What an icon file that cannot be read throws out of MediaName, for its writer to report.
class TMediaReadError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class TPMultiMedia;

// The display control whose loading or playback is reporting through ProgressCallback
// right now; none outside such a report. The global routine serves every control, so a
// routine installed for one of them tells its own reports from the others' by this.
TPMultiMedia *ProgressReporter();
// ProgressCallback as reported by control; 1 (go on) when none is installed.
int ReportProgressOf(TPMultiMedia *control, int percent);

// The display control: given a file name it shows a picture and tells its owner what it
// loaded (the information block). It draws the picture plain, centred, stretched or
// stretched keeping its aspect ratio, with a rotated and shadowed text overlay.
class TPMultiMedia : public QWidget
{
    Q_OBJECT
public:
    explicit TPMultiMedia(QWidget *owner = nullptr);
    ~TPMultiMedia() override;

    // Properties, with the effects their writes have.
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool value);
    bool AutoPlayMultiMedia() const { return m_autoPlay; }
    void setAutoPlayMultiMedia(bool value) { m_autoPlay = value; }
    bool AutoRePlayMultiMedia() const { return m_autoRePlay; }
    void setAutoRePlayMultiMedia(bool value) { m_autoRePlay = value; }
    bool AutoHideMediaPlayer() const { return m_autoHide; }
    void setAutoHideMediaPlayer(bool value) { m_autoHide = value; }
    bool Center() const { return m_center; }
    void setCenter(bool value);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(TBorderStyle value);
    QString DefSaveFilename() const { return m_defSaveFilename; }
    void setDefSaveFilename(const QString &value) { m_defSaveFilename = value; }
    const TPicture &Picture() const { return m_picture; }
    void setPicture(const TPicture &value);
    bool ImageLibPalette() const { return m_imageLibPalette; }
    void setImageLibPalette(bool value) { m_imageLibPalette = value; }
    bool ImageDither() const { return m_imageDither; }
    void setImageDither(bool value) { m_imageDither = value; }
    TLoadResolution ImageReadRes() const { return m_imageReadRes; }
    void setImageReadRes(TLoadResolution value) { m_imageReadRes = value; }
    TSaveResolution ImageWriteRes() const { return m_imageWriteRes; }
    void setImageWriteRes(TSaveResolution value) { m_imageWriteRes = value; }
    int JPegSaveQuality() const { return m_jpegSaveQuality; }
    void setJPegSaveQuality(int value);
    int JPegSaveSmooth() const { return m_jpegSaveSmooth; }
    void setJPegSaveSmooth(int value);
    TTiffCompression TifSaveCompress() const { return m_tifSaveCompress; }
    void setTifSaveCompress(TTiffCompression value) { m_tifSaveCompress = value; }
    bool PNGInterLaced() const { return m_pngInterlaced; }
    void setPNGInterLaced(bool value) { m_pngInterlaced = value; }
    bool Stretch() const { return m_stretch; }
    void setStretch(bool value);
    bool StretchRatio() const { return m_stretchRatio; }
    void setStretchRatio(bool value);
    QString Text() const { return m_text; }
    void setText(const QString &value);
    bool TextShadow() const { return m_textShadow; }
    void setTextShadow(bool value);
    QColor TextShadowColor() const { return m_textShadowColor; }
    void setTextShadowColor(const QColor &value) { m_textShadowColor = value; }
    int TextLeft() const { return m_textLeft; }
    void setTextLeft(int value);
    int TextTop() const { return m_textTop; }
    void setTextTop(int value);
    int TextRotate() const { return m_textRotate; }
    void setTextRotate(int value);
    bool TextTransParent() const { return m_textTransparent; }
    void setTextTransParent(bool value);
    bool UseTwainWindow() const { return m_useTwainWindow; }
    void setUseTwainWindow(bool value) { m_useTwainWindow = value; }
    bool QuietMode() const { return m_quietMode; }
    void setQuietMode(bool value) { m_quietMode = value; }
    QString ResourceModule() const { return m_resourceModule; }
    void setResourceModule(const QString &value) { m_resourceModule = value; }
    // The player sounds and videos open in; it becomes none when it is destroyed.
    TMIMediaPlayer *MediaPlayer() const { return m_mediaPlayer; }
    void setMediaPlayer(TMIMediaPlayer *player) { m_mediaPlayer = player; }

    // Where pictures decoded ahead of time come from; none to decode every picture here.
    TPicturePrefetch *Prefetch() const { return m_prefetch; }
    void setPrefetch(TPicturePrefetch *prefetch) { m_prefetch = prefetch; }
    // Has the prefetcher decode these files, most wanted first, as this control would.
    void PrefetchFiles(const QStringList &files);

    // Where the next picture will be shown, in logical pixels: the box a fitted picture
    // fills, or the part of the box a picture at its own size shows. Empty: the control's
    // own size. A large JPEG is first decoded just large enough for that, or just that
    // part of it, and whole once something needs more.
    void setShowArea(QSize area) { m_showArea = area; }
    // The picture's size as shown, also while only a first sight of it is held.
    QSize PictureSize() const;
    // Whether the bitmap held is the whole picture at its own size.
    bool HasWholePicture() const { return m_fullSize.isEmpty(); }
    // Reads the whole picture if only a first sight is held, reporting progress, which may
    // stop it. False when it could not be had; the picture held then stays.
    bool WholePicture();

    // Stops the playback timer and closes the linked player.
    void StopMedia();
    // The playback timer's tick: progress, and replay at the end.
    void TimerNotify();

    // Writing loads the named file; reading loads the stored name again and returns the
    // status (LoadMedia). An icon that cannot be read throws TMediaReadError.
    QString MediaName();
    void setMediaName(const QString &name);
    // The status of the last load.
    QString LoadedName() const { return m_loadedName; }
    QString LoadMedia();
    bool ReadMediaInfo(const QString &fileName);
    void PictureChanged();
    void RedrawPicture();
    // Bytes held beside the picture for drawing it scaled: never more than a tenth of it.
    qsizetype DrawingCacheBytes() const { return m_levels.keptBytes(); }

    // Prints the picture into that rectangle (printer pixels) of a new one-page job on
    // printer; a width or height below 1 prints at the picture's own size. No job starts
    // without a picture. False with the reason when the printer refused the job.
    bool PrintPicture(QPagedPaintDevice *printer, int left, int top, int width, int height,
                      QString *error = nullptr);

    // The clipboard, also on Ctrl+C, Ctrl+X, Ctrl+V, Ctrl+Insert, Shift+Delete and
    // Shift+Insert once the owner has seen the key.
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    // The background colour.
    QColor Color() const { return palette().color(QPalette::Window); }
    void setColor(const QColor &color);

    // Scrolling text messages: a ".SCM" line runs from right to left, the lines of a
    // ".CMS" file rise one after another. The owner drives them with TickMessage.
    bool LoadTaggedMessage(const QString &fileName);
    bool LoadLineMessage(const QString &fileName);
    void RenderLine();
    void ClearMessage();
    // Posts one horizontal and one vertical step to the control.
    void TickMessage();
    static const QEvent::Type HorizontalStepEvent;
    static const QEvent::Type VerticalStepEvent;
    // The rendered text of the current line.
    const QImage &Strip() const { return m_strip; }

    TMessageFont MessageFont;
    qint32 MessageColor = 128;
    // A step happens once every MessageSpeed + 1 ticks.
    int MessageSpeed = 1;
    QString MessageText;
    QStringList MessageLines;
    bool Marquee = false;
    bool Credits = false;
    // Where the strip is drawn, and the state of the movement.
    int ScrollX = 0;
    int ScrollY = 0;
    int ScrollCount = 0;
    int AreaWidth = 0;
    int AreaHeight = 0;
    int StripWidth = 0;
    int StripHeight = 0;
    int TickCount = 0;
    int LineIndex = 0;
    QColor SavedColor;

    // Whether the control takes the focus on Tab and on a click.
    bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
    void setTabStop(bool value) { setFocusPolicy(value ? Qt::StrongFocus : Qt::NoFocus); }

    // The information block about the last file loaded.
    QString MediaType;
    int MediaWidth = 0;
    int MediaHeight = 0;
    int MediaValueA = 0;
    int MediaValueB = 0;
    int MediaColors = 0;
    qint64 MediaFileSize = 0;
    QString MediaDescription;

Q_SIGNALS:
    // At the end of every paint.
    void OnPaint(TPMultiMedia *sender);
    // Before the control acts on a key, so the owner can act first.
    void OnKeyDown(QKeyEvent *event);
    // The file changed on disk after its first sight: what is shown and reported now is
    // the file as it is.
    void OnPictureReplaced(TPMultiMedia *sender);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool event(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void paintPicture(QPainter &painter);
    void paintSimple(QPainter &painter);
    void drawRotatedText(QPainter &painter, int x, int y, int angle, bool shadow, bool transparent,
                         const QColor &shadowColor, const QString &text);
    int colorBits() const;
    void failed(const QString &message);
    QString loadSoundOrVideo(const QString &name, const QString &extension);
    void paintVideo(QPainter &painter);
    bool loadCodecPicture(const QString &name, const QString &extension);
    // The first sight a load or prefetch asks for in the present mode and area.
    TSight loadSight(bool forPrefetch) const;
    // Where the bitmap held lies within target, the whole picture's place.
    QRectF heldRect(const QRectF &target) const;
    // Starts reading more of the picture in the background when what is shown needs it.
    void needMore();
    // Whether the picture covers the whole control, so nothing behind needs painting.
    void updateOpaque();
    TSight sightNeeded() const;
    // The top rows of the whole picture read so far in the background; null when none.
    QImage rowsArrived() const;
    void startWhole(const TSight &sight);
    void cancelWhole();
    // The background read's progress, and its picture once it has finished.
    void pollWhole();
    void takeWhole();
    bool stepAllowed();
    void horizontalStep();
    void verticalStep();
    // Shows the strip at its new place, repainting only where it was and where it is.
    void moveStrip(const QRect &before);
    QRect stripRect() const;

    TPicture m_picture;
    QImage m_strip;
    PictureLevels m_levels;
    bool m_autoSize = false;
    bool m_autoPlay = false;
    bool m_autoRePlay = false;
    bool m_autoHide = false;
    TBorderStyle m_borderStyle = bsNone;
    bool m_stretch = false;
    bool m_stretchRatio = false;
    bool m_center = false;
    QString m_mediaName;
    bool m_imageDither = true;
    TLoadResolution m_imageReadRes = lAutoMatic;
    TSaveResolution m_imageWriteRes = sAutoMatic;
    bool m_pngInterlaced = false;
    int m_jpegSaveQuality = 25;
    int m_jpegSaveSmooth = 0;
    QString m_defSaveFilename;
    bool m_imageLibPalette = true;
    QString m_loadedName;
    QString m_text;
    bool m_textShadow = false;
    int m_textLeft = 0;
    int m_textTop = 0;
    int m_textRotate = 0;
    bool m_textTransparent = true;
    QColor m_textShadowColor = Qt::black;
    TTiffCompression m_tifSaveCompress = sNONE;
    bool m_useTwainWindow = false;
    QColor m_savedBrushColor = Qt::white;
    QString m_resourceModule;
    bool m_quietMode = false;
    QPointer<TMIMediaPlayer> m_mediaPlayer;
    TPicturePrefetch *m_prefetch = nullptr;
    QSize m_showArea;
    QSize m_fullSize;                     // the whole picture's size while a first sight is held
    QRect m_region;                       // where a part held lies in it; empty for all of it
    QString m_sightFile;                  // the file the first sight came from
    std::array<qint64, 2> m_sightStamp{}; // its size and time then
    bool m_wholeRefused = false;
    std::shared_ptr<WholeDecode> m_whole;
    QThreadPool m_wholePool;
    QTimer m_wholeTimer;
    QTimer m_timer;
    bool m_timerFailed = false; // told once per opened media
};
