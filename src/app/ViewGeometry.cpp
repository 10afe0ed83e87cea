// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ViewGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "display/PaintGeometry.h"

QSize ScrollRanges(int stretchMode, const QSize &client, const QSize &media)
{
    if (stretchMode != smNormal)
        return client;
    return QSize(client.width() <= media.width() ? media.width() : 0,
                 client.height() <= media.height() ? media.height() : 0);
}

int CenterPosition(int range, int clientExtent)
{
    return (range - clientExtent) / 2;
}

int ZoomInPercent(int displayWidth)
{
    return qBound(0, displayWidth / 20, MaxZoomInPercent);
}

int ZoomOutPercent(int displayWidth)
{
    return qBound(0, displayWidth / 25, MaxZoomOutPercent);
}

int MulDiv(int value, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    const long long rounded = std::llround(static_cast<double>(value) * numerator / denominator);
    if (rounded > std::numeric_limits<int>::max() || rounded < std::numeric_limits<int>::min())
        return -1;
    return static_cast<int>(rounded);
}

QSize ZoomedIn(const QSize &display, int step)
{
    if (display.isEmpty() || display.width() >= MaxZoomExtent || display.height() >= MaxZoomExtent)
        return display;
    const QSize grown(MulDiv(display.width(), 100 + step, 100),
                      MulDiv(display.height(), 100 + step, 100));
    if (grown.width() <= MaxZoomExtent && grown.height() <= MaxZoomExtent)
        return grown;
    // The last step ends at the limit, with the display's own proportions.
    const double factor =
        std::min(double(MaxZoomExtent) / display.width(), double(MaxZoomExtent) / display.height());
    return QSize(std::min(MaxZoomExtent, int(std::lround(display.width() * factor))),
                 std::min(MaxZoomExtent, int(std::lround(display.height() * factor))));
}

QSize ZoomedOut(const QSize &display, const QSize &client, int step, int inStep)
{
    if (display.width() <= client.width() && display.height() <= client.height())
        return display;
    const QSize shrunk(MulDiv(display.width(), 100 - step, 100),
                       MulDiv(display.height(), 100 - step, 100));
    const QSize oneStepIn = ZoomedIn(client, inStep);
    if (shrunk.width() <= oneStepIn.width() && shrunk.height() <= oneStepIn.height())
        return client;
    return shrunk.expandedTo(client);
}

QRect VideoDestination(int stretchMode, const TVideoRect &video, const QRect &display,
                       const QRect &parentClient, int videoScale)
{
    const int vw = video.Right - video.Left;
    const int vh = video.Bottom - video.Top;
    if (stretchMode == smFull)
        return QRect(display.left(), display.top(), display.width() - display.left(),
                     display.height() - display.top());
    // The client rectangle as origin and far edge, the way the arithmetic reads it.
    const double cLeft = parentClient.left();
    const double cTop = parentClient.top();
    const double cRight = parentClient.left() + parentClient.width();
    const double cBottom = parentClient.top() + parentClient.height();
    const double cw = parentClient.width();
    const double ch = parentClient.height();
    if (stretchMode == smProportional) {
        if (vw <= vh) {
            if (vh == 0)
                return QRect(int(cLeft), int(cTop), int(cRight), int(cBottom));
            const double spare = cw - ch / vh * vw;
            return QRect(RoundHalfEven(spare * 0.5 + cLeft), int(cTop),
                         RoundHalfEven(cRight - spare), int(cBottom));
        }
        const double spare = ch - cw / vw * vh;
        return QRect(int(cLeft), RoundHalfEven(spare * 0.5 + cTop), int(cRight),
                     RoundHalfEven(cBottom - spare));
    }
    const int width = video.Right * videoScale;
    const int height = video.Bottom * videoScale;
    const int left = parentClient.width() / 2 - (width - video.Left) / 2;
    const int top = parentClient.height() / 2 - (height - video.Top) / 2;
    return QRect(left, top, width, height);
}
