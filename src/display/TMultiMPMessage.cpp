// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// TPMultiMedia: scrolling text messages.
#include "display/TMultiMP.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>

#include "toolkit/PlatformColor.h"

const QEvent::Type TPMultiMedia::HorizontalStepEvent = QEvent::Type(QEvent::User + 0x0401);
const QEvent::Type TPMultiMedia::VerticalStepEvent = QEvent::Type(QEvent::User + 0x0402);

namespace {

constexpr QSize MaxStrip(32767, 4096);

// The text's one-line size in font.
QSize textSize(const QFont &font, const QString &text)
{
    const QFontMetrics metrics(font);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

QImage renderStrip(const QSize &size, const QColor &background, const QFont &font,
                   const QColor &ink, const QString &text)
{
    // A very long text is cut rather than held as a giant bitmap.
    const QSize bounded = size.expandedTo(QSize(1, 1)).boundedTo(MaxStrip);
    QImage strip(bounded, QImage::Format_RGB32);
    if (strip.isNull())
        return strip;
    strip.fill(background);
    QPainter painter(&strip);
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(0, QFontMetrics(font).ascent(), text);
    return strip;
}

} // namespace

void TPMultiMedia::setColor(const QColor &color)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Window, color);
    setPalette(colours);
}

bool TPMultiMedia::LoadTaggedMessage(const QString &fileName)
{
    setPicture(TPicture());
    if (!ReadTaggedMessage(fileName, MessageFont, MessageSpeed, MessageText, MessageColor))
        return false;
    const QFont font = MessageFont.toFont();
    const QSize text = textSize(font, MessageText);
    AreaWidth = width();
    AreaHeight = height();
    StripWidth = text.width();
    StripHeight = text.height();
    ScrollX = AreaWidth;
    ScrollCount = AreaWidth + text.width();
    ScrollY = (AreaHeight - text.height()) / 2;
    SavedColor = Color();
    setColor(ColorFromPlatform(MessageColor));
    m_strip = renderStrip(text, ColorFromPlatform(MessageColor), font,
                          ColorFromPlatform(MessageFont.Color), MessageText);
    Marquee = true;
    update();
    return true;
}

bool TPMultiMedia::LoadLineMessage(const QString &fileName)
{
    setPicture(TPicture());
    if (!ReadLineMessage(fileName, MessageFont, MessageSpeed, MessageColor, MessageLines))
        return false;
    LineIndex = 0;
    if (!MessageLines.isEmpty())
        RenderLine();
    return true;
}

void TPMultiMedia::RenderLine()
{
    if (LineIndex >= MessageLines.size())
        LineIndex = 0;
    MessageText = MessageLines.value(LineIndex);
    if (MessageText.isEmpty())
        return;
    if (!MessageText.startsWith(u' '))
        MessageText.prepend(QStringLiteral("  "));
    if (!MessageText.endsWith(u' '))
        MessageText.append(u' ');
    const qsizetype length = MessageText.size();
    AreaWidth = width();
    AreaHeight = height();
    const QFont font = MessageFont.toFont();
    const QSize text = textSize(font, MessageText);
    // One average character of margin; a line of one or two blanks has no characters to
    // average and shows as an empty strip.
    const int stripWidth =
        text.width() + (length > 2 ? int(text.width() / qsizetype(length - 2)) : 0);
    StripHeight = text.height();
    StripWidth = stripWidth;
    ScrollX = (AreaWidth - stripWidth) / 2;
    ScrollY = AreaHeight;
    if (!Credits)
        SavedColor = Color();
    setColor(ColorFromPlatform(MessageColor));
    m_strip = renderStrip(QSize(stripWidth, text.height() + 5), ColorFromPlatform(MessageColor),
                          font, ColorFromPlatform(MessageFont.Color), MessageText);
    Credits = true;
    update();
}

void TPMultiMedia::ClearMessage()
{
    m_timer.stop();
    if (Marquee || Credits)
        setColor(SavedColor);
    Marquee = false;
    Credits = false;
    m_strip = QImage();
    setPicture(TPicture());
}

void TPMultiMedia::TickMessage()
{
    QCoreApplication::postEvent(this, new QEvent(HorizontalStepEvent));
    QCoreApplication::postEvent(this, new QEvent(VerticalStepEvent));
}

bool TPMultiMedia::event(QEvent *event)
{
    if (event->type() == HorizontalStepEvent) {
        horizontalStep();
        return true;
    }
    if (event->type() == VerticalStepEvent) {
        verticalStep();
        return true;
    }
    return QWidget::event(event);
}

bool TPMultiMedia::stepAllowed()
{
    if (++TickCount <= MessageSpeed)
        return false;
    TickCount = 0;
    return true;
}

QRect TPMultiMedia::stripRect() const
{
    return QRect(QPoint(ScrollX, ScrollY), m_strip.size()).translated(contentsRect().topLeft());
}

void TPMultiMedia::moveStrip(const QRect &before)
{
    update(before.united(stripRect()));
}

void TPMultiMedia::horizontalStep()
{
    if (!Marquee || !stepAllowed())
        return;
    const QRect before = stripRect();
    --ScrollX;
    if (--ScrollCount < 0) {
        ScrollX = AreaWidth;
        ScrollCount = AreaWidth + StripWidth;
    }
    moveStrip(before);
}

void TPMultiMedia::verticalStep()
{
    if (!Credits || !stepAllowed())
        return;
    const QRect before = stripRect();
    if (--ScrollY < -(StripHeight + 5)) {
        if (!MessageLines.isEmpty()) {
            LineIndex = LineIndex + 1 < MessageLines.size() ? LineIndex + 1 : 0;
            RenderLine();
        } else {
            ScrollY = AreaHeight;
        }
    }
    moveStrip(before);
}
