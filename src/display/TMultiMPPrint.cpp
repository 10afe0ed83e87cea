// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// TPMultiMedia: printing the picture.
#include "display/TMultiMP.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include "display/codec/ColorProfile.h"

bool TPMultiMedia::PrintPicture(QPagedPaintDevice *printer, int left, int top, int width,
                                int height, QString *error)
{
    if (m_picture.isEmpty() || !printer)
        return true;
    if (!WholePicture()) {
        if (error)
            *error = QStringLiteral("The picture could not be read in full for printing.");
        return false;
    }
    if (width < 1 || height < 1) {
        width = m_picture.width();
        height = m_picture.height();
    }
    // Beginning the painter starts the job; ending it ends the page and the job.
    QPainter painter;
    if (!painter.begin(printer)) {
        if (error)
            *error = QStringLiteral("The printer could not start the job.");
        return false;
    }
    // A print is a copy of the picture's pixels: without this the PDF that goes to the
    // printer or the file stores them as JPEG, and hard edges ring.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const QRect target(left, top, width, height);
    if (m_picture.kind() == TPicture::Icon || m_picture.kind() == TPicture::Metafile)
        m_picture.draw(painter, target);
    else
        // The page carries no colour profile: it is given in sRGB, as the screen shows it
        // on an sRGB display.
        painter.drawImage(target, DisplayToSrgb(m_picture.image()));
    if (!painter.end()) {
        if (error)
            *error = QStringLiteral("The printer could not finish the job.");
        return false;
    }
    return true;
}
