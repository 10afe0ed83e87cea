// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/Metafile.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <QPicture>
#include <QStringDecoder>

#include <cmath>
#include <vector>

#include "display/codec/Decoders.h"

namespace {

// Record functions, as the metafile format numbers them.
enum Function : quint16 {
    EndOfFile = 0x0000,
    SaveDC = 0x001E,
    RestoreDC = 0x0127,
    SetBkMode = 0x0102,
    SetPolyFillMode = 0x0106,
    SetTextAlign = 0x012E,
    SetBkColor = 0x0201,
    SetTextColor = 0x0209,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    OffsetWindowOrg = 0x020F,
    ScaleWindowExt = 0x0410,
    LineTo = 0x0213,
    MoveTo = 0x0214,
    ExcludeClipRect = 0x0415,
    IntersectClipRect = 0x0416,
    Arc = 0x0817,
    Ellipse = 0x0418,
    Pie = 0x081A,
    Rectangle = 0x041B,
    RoundRect = 0x061C,
    PatBlt = 0x061D,
    SetPixel = 0x041F,
    TextOut = 0x0521,
    Polygon = 0x0324,
    Polyline = 0x0325,
    Chord = 0x0830,
    ExtTextOut = 0x0A32,
    SetDIBitsToDevice = 0x0D33,
    PolyPolygon = 0x0538,
    DIBBitBlt = 0x0940,
    DIBStretchBlt = 0x0B41,
    StretchDIB = 0x0F43,
    SelectObject = 0x012D,
    DeleteObject = 0x01F0,
    CreatePalette = 0x00F7,
    CreatePatternBrush = 0x01F9,
    DIBCreatePatternBrush = 0x0142,
    CreatePenIndirect = 0x02FA,
    CreateFontIndirect = 0x02FB,
    CreateBrushIndirect = 0x02FC,
    CreateRegion = 0x06FF,
};

constexpr int MaxRecords = 1 << 20;

quint16 u16(const uchar *p)
{
    return quint16(p[0] | p[1] << 8);
}

QColor colorRef(quint16 low, quint16 high)
{
    return QColor(low & 0xFF, low >> 8, high & 0xFF);
}

// One record's parameters, read safely: asking past the end gives 0.
class Params
{
public:
    Params(const uchar *data, int words)
        : m_data(data)
        , m_words(words)
    {}
    int count() const { return m_words; }
    quint16 word(int i) const { return i >= 0 && i < m_words ? u16(m_data + 2 * i) : 0; }
    qint16 integer(int i) const { return qint16(word(i)); }
    QColor colour(int i) const { return colorRef(word(i), word(i + 1)); }
    const uchar *bytes(int i) const { return m_data + 2 * i; }
    int bytesFrom(int i) const { return qMax(0, (m_words - i) * 2); }

private:
    const uchar *m_data;
    int m_words;
};

struct Font
{
    int height = 12;
    int escapement = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charset = 0;
    QString face;
};

struct Object
{
    enum Kind { None, Pen, Brush, FontObject, Other } kind = None;
    QPen pen;
    QBrush brush;
    Font font;

    static Object ofPen(const QPen &pen) { return {Pen, pen, {}, {}}; }
    static Object ofBrush(const QBrush &brush) { return {Brush, {}, brush, {}}; }
    static Object ofFont(const Font &font) { return {FontObject, {}, {}, font}; }
    // Palettes and regions take a slot of the table but draw nothing here.
    static Object placeholder() { return {Other, {}, {}, {}}; }
};

// What SaveDC keeps.
struct DcState
{
    QPen pen{Qt::black, 0};
    QBrush brush{Qt::white};
    Font font;
    QColor textColour = Qt::black;
    QColor backColour = Qt::white;
    bool opaque = true;
    Qt::FillRule fill = Qt::OddEvenFill;
    int textAlign = 0;
    QPointF position;
    QRectF window;
};

QStringDecoder decoderFor(int charset)
{
    const char *name = "windows-1252";
    switch (charset) {
    case 161:
        name = "windows-1253";
        break;
    case 162:
        name = "windows-1254";
        break;
    case 177:
        name = "windows-1255";
        break;
    case 178:
        name = "windows-1256";
        break;
    case 186:
        name = "windows-1257";
        break;
    case 204:
        name = "windows-1251";
        break;
    case 238:
        name = "windows-1250";
        break;
    case 222:
        name = "windows-874";
        break;
    case 128:
        name = "Shift_JIS";
        break;
    case 134:
        name = "GBK";
        break;
    case 129:
        name = "EUC-KR";
        break;
    case 136:
        name = "Big5";
        break;
    default:
        break;
    }
    QStringDecoder decoder(name);
    return decoder.isValid() ? std::move(decoder) : QStringDecoder(QStringDecoder::Latin1);
}

class Player
{
public:
    Player(QPainter &painter, const QRectF &target, const QRectF &frame, int objects)
        : m_painter(painter)
        , m_target(target)
        , m_objects(size_t(qBound(0, objects, 65535)))
    {
        m_state.window = frame;
        applyWindow();
    }

    void play(const QByteArray &records)
    {
        const auto *data = reinterpret_cast<const uchar *>(records.constData());
        qsizetype at = 0;
        while (at + 6 <= records.size()) {
            const quint32 words = quint32(u16(data + at)) | quint32(u16(data + at + 2)) << 16;
            const quint16 function = u16(data + at + 4);
            const qsizetype bytes = qsizetype(words) * 2;
            if (function == EndOfFile || words < 3 || bytes > records.size() - at)
                break;
            record(function, Params(data + at + 6, int(words - 3)));
            at += bytes;
        }
        while (m_saved > 0) {
            m_painter.restore();
            --m_saved;
        }
    }

private:
    void applyWindow()
    {
        const QRectF w = m_state.window;
        if (w.width() == 0 || w.height() == 0)
            return;
        QTransform t;
        t.translate(m_target.left(), m_target.top());
        t.scale(m_target.width() / w.width(), m_target.height() / w.height());
        t.translate(-w.left(), -w.top());
        m_painter.setTransform(t);
    }

    QPointF point(const Params &p, int yIndex) const
    {
        return QPointF(p.integer(yIndex + 1), p.integer(yIndex));
    }

    // A rectangle stored as bottom, right, top, left from index i on.
    QRectF box(const Params &p, int i) const
    {
        return QRectF(QPointF(p.integer(i + 3), p.integer(i + 2)),
                      QPointF(p.integer(i + 1), p.integer(i)))
            .normalized();
    }

    void usePenAndBrush()
    {
        m_painter.setPen(m_state.pen);
        m_painter.setBrush(m_state.brush);
    }

    QPolygonF points(const Params &p, int first, int count) const
    {
        QPolygonF polygon;
        for (int i = 0; i < count && first + 2 * i + 1 < p.count(); ++i)
            polygon << QPointF(p.integer(first + 2 * i), p.integer(first + 2 * i + 1));
        return polygon;
    }

    int freeSlot() const
    {
        for (size_t i = 0; i < m_objects.size(); ++i) {
            if (m_objects[i].kind == Object::None)
                return int(i);
        }
        return -1;
    }

    void create(Object object)
    {
        const int slot = freeSlot();
        if (slot >= 0)
            m_objects[size_t(slot)] = std::move(object);
    }

    void select(int index)
    {
        if (index < 0 || size_t(index) >= m_objects.size())
            return;
        const Object &object = m_objects[size_t(index)];
        switch (object.kind) {
        case Object::Pen:
            m_state.pen = object.pen;
            break;
        case Object::Brush:
            m_state.brush = object.brush;
            break;
        case Object::FontObject:
            m_state.font = object.font;
            break;
        default:
            break;
        }
    }

    QPen makePen(const Params &p) const
    {
        const int style = p.word(0) & 0x0F;
        const int width = p.integer(1);
        if (style == 5)
            return QPen(Qt::NoPen);
        QPen pen(p.colour(3), width <= 1 ? 0 : width);
        pen.setCosmetic(width <= 1);
        static const Qt::PenStyle Styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                              Qt::DashDotLine, Qt::DashDotDotLine};
        pen.setStyle(style < 5 ? Styles[style] : Qt::SolidLine);
        pen.setJoinStyle(Qt::RoundJoin);
        pen.setCapStyle(Qt::RoundCap);
        return pen;
    }

    QBrush makeBrush(const Params &p) const
    {
        const int style = p.word(0);
        const QColor colour = p.colour(1);
        switch (style) {
        case 0:
            return QBrush(colour);
        case 1:
            return QBrush(Qt::NoBrush);
        case 2: {
            static const Qt::BrushStyle Hatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                                     Qt::FDiagPattern, Qt::BDiagPattern,
                                                     Qt::CrossPattern, Qt::DiagCrossPattern};
            const int hatch = p.word(3);
            return QBrush(colour, hatch >= 0 && hatch < 6 ? Hatches[hatch] : Qt::SolidPattern);
        }
        default:
            return QBrush(Qt::gray);
        }
    }

    Font makeFont(const Params &p) const
    {
        Font font;
        font.height = p.integer(0);
        font.escapement = p.integer(2);
        font.weight = p.integer(4);
        const uchar *b = p.bytes(5);
        const int flags = p.bytesFrom(5);
        if (flags >= 4) {
            font.italic = b[0];
            font.underline = b[1];
            font.strikeOut = b[2];
            font.charset = b[3];
        }
        const int faceAt = 9;
        const int faceBytes = qMin(32, p.bytesFrom(faceAt));
        const char *face = reinterpret_cast<const char *>(p.bytes(faceAt));
        font.face = QString::fromLatin1(face, qstrnlen(face, size_t(qMax(0, faceBytes))));
        return font;
    }

    void text(QPointF origin, const QByteArray &bytes, const QRectF &opaqueBox)
    {
        if (bytes.isEmpty())
            return;
        QStringDecoder decode = decoderFor(m_state.font.charset);
        const QString string = decode(bytes);
        const QTransform toDevice = m_painter.transform();
        if (m_state.textAlign & 1) // update current position
            origin = m_state.position;
        const QPointF device = toDevice.map(origin);
        const double scale = std::hypot(toDevice.m22(), toDevice.m21());
        QFont font(m_state.font.face.isEmpty() ? QStringLiteral("Sans Serif") : m_state.font.face);
        font.setPixelSize(qMax(1, qRound(std::abs(m_state.font.height) * scale)));
        // Both count from 1 to 1000 with 400 normal and 700 bold; 0 means normal.
        const int weight = m_state.font.weight;
        font.setWeight(QFont::Weight(weight <= 0 ? 400 : qMin(weight, 1000)));
        font.setItalic(m_state.font.italic);
        font.setUnderline(m_state.font.underline);
        font.setStrikeOut(m_state.font.strikeOut);
        m_painter.save();
        if (!opaqueBox.isNull() && m_state.opaque)
            m_painter.fillRect(opaqueBox, m_state.backColour);
        m_painter.resetTransform();
        m_painter.setFont(font);
        const QFontMetricsF metrics(font);
        const double width = metrics.horizontalAdvance(string);
        double dx = 0;
        if ((m_state.textAlign & 6) == 6)
            dx = -width / 2;
        else if (m_state.textAlign & 2)
            dx = -width;
        // Text cells hang from their top unless aligned on the baseline or the bottom.
        double dy = metrics.ascent();
        if ((m_state.textAlign & 24) == 24)
            dy = 0;
        else if (m_state.textAlign & 8)
            dy = -metrics.descent();
        m_painter.translate(device);
        m_painter.rotate(-m_state.font.escapement / 10.0);
        if (m_state.opaque && opaqueBox.isNull())
            m_painter.fillRect(QRectF(dx, dy - metrics.ascent(), width, metrics.height()),
                               m_state.backColour);
        m_painter.setPen(m_state.textColour);
        m_painter.drawText(QPointF(dx, dy), string);
        m_painter.restore();
        if (m_state.textAlign & 1)
            m_state.position = toDevice.inverted().map(device + QPointF(width, 0));
    }

    void bitmap(const Params &p, int dibAt, const QRectF &source, const QRectF &dest)
    {
        QByteArray dib(reinterpret_cast<const char *>(p.bytes(dibAt)), p.bytesFrom(dibAt));
        QBuffer buffer(&dib);
        buffer.open(QIODevice::ReadOnly);
        DecodeContext ctx;
        const QImage image = DecodeDib(buffer, ctx);
        if (image.isNull())
            return;
        const QRectF from = source.isEmpty() ? QRectF(image.rect()) : source;
        m_painter.save();
        m_painter.setRenderHint(QPainter::SmoothPixmapTransform);
        m_painter.drawImage(dest, image, from);
        m_painter.restore();
    }

    void arcLike(Function kind, const Params &p)
    {
        const QRectF bounds = box(p, 4);
        if (bounds.isEmpty())
            return;
        const QPointF centre = bounds.center();
        const QPointF start = point(p, 2);
        const QPointF end = point(p, 0);
        const double a1 = std::atan2(-(start.y() - centre.y()) / bounds.height(),
                                     (start.x() - centre.x()) / bounds.width())
                          * 180 / M_PI;
        const double a2 = std::atan2(-(end.y() - centre.y()) / bounds.height(),
                                     (end.x() - centre.x()) / bounds.width())
                          * 180 / M_PI;
        double span = a2 - a1;
        if (span <= 0)
            span += 360;
        // Arcs run counter-clockwise from the start to the end point.
        QPainterPath path;
        if (kind == Pie) {
            path.moveTo(centre);
            path.arcTo(bounds, a1, span);
            path.closeSubpath();
        } else {
            path.arcMoveTo(bounds, a1);
            path.arcTo(bounds, a1, span);
            if (kind == Chord)
                path.closeSubpath();
        }
        m_painter.setPen(m_state.pen);
        m_painter.setBrush(kind == Arc ? QBrush(Qt::NoBrush) : m_state.brush);
        m_painter.drawPath(path);
    }

    void record(quint16 function, const Params &p)
    {
        switch (function) {
        case SaveDC:
            m_stack.push_back(m_state);
            m_painter.save();
            ++m_saved;
            break;
        case RestoreDC: {
            int n = p.integer(0);
            n = n < 0 ? -n : int(m_stack.size()) - n + 1;
            for (int i = 0; i < n && !m_stack.empty(); ++i) {
                m_state = m_stack.back();
                m_stack.pop_back();
                m_painter.restore();
                --m_saved;
            }
            applyWindow();
            break;
        }
        case SetBkMode:
            m_state.opaque = p.word(0) == 2;
            break;
        case SetPolyFillMode:
            m_state.fill = p.word(0) == 2 ? Qt::WindingFill : Qt::OddEvenFill;
            break;
        case SetTextAlign:
            m_state.textAlign = p.word(0);
            break;
        case SetBkColor:
            m_state.backColour = p.colour(0);
            break;
        case SetTextColor:
            m_state.textColour = p.colour(0);
            break;
        case SetWindowOrg:
            m_state.window.moveTopLeft(point(p, 0));
            applyWindow();
            break;
        case SetWindowExt:
            m_state.window.setSize(QSizeF(p.integer(1), p.integer(0)));
            applyWindow();
            break;
        case OffsetWindowOrg:
            m_state.window.translate(p.integer(1), p.integer(0));
            applyWindow();
            break;
        case ScaleWindowExt: {
            const int xd = p.integer(2), yd = p.integer(0);
            if (xd != 0 && yd != 0)
                m_state.window.setSize(QSizeF(m_state.window.width() * p.integer(3) / xd,
                                              m_state.window.height() * p.integer(1) / yd));
            applyWindow();
            break;
        }
        case MoveTo:
            m_state.position = point(p, 0);
            break;
        case LineTo: {
            const QPointF to = point(p, 0);
            m_painter.setPen(m_state.pen);
            m_painter.drawLine(m_state.position, to);
            m_state.position = to;
            break;
        }
        case IntersectClipRect:
            m_painter.setClipRect(box(p, 0), Qt::IntersectClip);
            break;
        case ExcludeClipRect: {
            QPainterPath keep;
            keep.addRect(m_painter.hasClipping() ? m_painter.clipBoundingRect()
                                                 : m_state.window.normalized());
            QPainterPath hole;
            hole.addRect(box(p, 0));
            m_painter.setClipPath(keep.subtracted(hole), Qt::IntersectClip);
            break;
        }
        case Rectangle:
            usePenAndBrush();
            m_painter.drawRect(box(p, 0));
            break;
        case RoundRect:
            usePenAndBrush();
            m_painter.drawRoundedRect(box(p, 2), p.integer(1) / 2.0, p.integer(0) / 2.0);
            break;
        case Ellipse:
            usePenAndBrush();
            m_painter.drawEllipse(box(p, 0));
            break;
        case Arc:
        case Pie:
        case Chord:
            arcLike(Function(function), p);
            break;
        case Polygon: {
            usePenAndBrush();
            m_painter.drawPolygon(points(p, 1, p.word(0)), m_state.fill);
            break;
        }
        case Polyline:
            m_painter.setPen(m_state.pen);
            m_painter.drawPolyline(points(p, 1, p.word(0)));
            break;
        case PolyPolygon: {
            const int polygons = p.word(0);
            QPainterPath path;
            path.setFillRule(m_state.fill);
            int at = 1 + polygons;
            for (int i = 0; i < polygons && at < p.count(); ++i) {
                const int count = p.word(1 + i);
                path.addPolygon(points(p, at, count));
                path.closeSubpath();
                at += 2 * count;
            }
            usePenAndBrush();
            m_painter.drawPath(path);
            break;
        }
        case SetPixel:
            m_painter.fillRect(QRectF(point(p, 2), QSizeF(1, 1)), p.colour(0));
            break;
        case PatBlt: {
            const quint32 rop = quint32(p.word(0)) | quint32(p.word(1)) << 16;
            const QRectF area(QPointF(p.integer(5), p.integer(4)),
                              QSizeF(p.integer(3), p.integer(2)));
            if (rop == 0x00F00021) // PATCOPY
                m_painter.fillRect(area, m_state.brush);
            else if (rop == 0x00FF0062) // WHITENESS
                m_painter.fillRect(area, Qt::white);
            else if (rop == 0x00000042) // BLACKNESS
                m_painter.fillRect(area, Qt::black);
            break;
        }
        case TextOut: {
            const int length = p.word(0);
            const int words = (length + 1) / 2;
            QByteArray bytes(reinterpret_cast<const char *>(p.bytes(1)),
                             qMin(length, p.bytesFrom(1)));
            text(point(p, 1 + words), bytes, QRectF());
            break;
        }
        case ExtTextOut: {
            const int length = p.word(2);
            const int options = p.word(3);
            int at = 4;
            QRectF opaqueBox;
            if (options & 0x0006) {
                opaqueBox =
                    QRectF(QPointF(p.integer(4), p.integer(5)), QPointF(p.integer(6), p.integer(7)))
                        .normalized();
                at = 8;
            }
            QByteArray bytes(reinterpret_cast<const char *>(p.bytes(at)),
                             qMin(length, p.bytesFrom(at)));
            text(point(p, 0), bytes, (options & 0x0002) ? opaqueBox : QRectF());
            break;
        }
        case StretchDIB:
            bitmap(p, 11, QRectF(p.integer(6), p.integer(5), p.integer(4), p.integer(3)),
                   QRectF(p.integer(10), p.integer(9), p.integer(8), p.integer(7)).normalized());
            break;
        case DIBStretchBlt:
            if (p.count() > 10)
                bitmap(p, 10, QRectF(p.integer(5), p.integer(4), p.integer(3), p.integer(2)),
                       QRectF(p.integer(9), p.integer(8), p.integer(7), p.integer(6)).normalized());
            break;
        case DIBBitBlt:
            if (p.count() > 8)
                bitmap(p, 8, QRectF(p.integer(3), p.integer(2), p.integer(5), p.integer(4)),
                       QRectF(p.integer(7), p.integer(6), p.integer(5), p.integer(4)).normalized());
            break;
        case SetDIBitsToDevice:
            bitmap(p, 9, QRectF(),
                   QRectF(p.integer(8), p.integer(7), p.integer(6), p.integer(5)).normalized());
            break;
        case SelectObject:
            select(p.word(0));
            break;
        case DeleteObject:
            if (p.word(0) < m_objects.size())
                m_objects[p.word(0)] = Object();
            break;
        case CreatePenIndirect:
            create(Object::ofPen(makePen(p)));
            break;
        case CreateBrushIndirect:
            create(Object::ofBrush(makeBrush(p)));
            break;
        case CreateFontIndirect:
            create(Object::ofFont(makeFont(p)));
            break;
        case CreatePatternBrush:
        case DIBCreatePatternBrush:
            // A patterned brush shows as its average: grey.
            create(Object::ofBrush(QBrush(Qt::gray)));
            break;
        case CreatePalette:
        case CreateRegion:
            create(Object::placeholder());
            break;
        default:
            break;
        }
    }

    QPainter &m_painter;
    QRectF m_target;
    std::vector<Object> m_objects;
    DcState m_state;
    std::vector<DcState> m_stack;
    int m_saved = 0;
};

} // namespace

TMetafile TMetafile::fromData(const QByteArray &data, QString *why)
{
    auto fail = [why](const QString &text) {
        if (why)
            *why = text;
        return TMetafile();
    };
    const auto *d = reinterpret_cast<const uchar *>(data.constData());
    qsizetype at = 0;
    QRectF bounds;
    int inch = 0;
    if (data.size() >= 22 && u16(d) == 0xCDD7 && u16(d + 2) == 0x9AC6) {
        bounds = QRectF(QPointF(qint16(u16(d + 6)), qint16(u16(d + 8))),
                        QPointF(qint16(u16(d + 10)), qint16(u16(d + 12))))
                     .normalized();
        inch = u16(d + 14);
        at = 22;
    }
    if (data.size() - at < 18)
        return fail(QStringLiteral("This is not a metafile."));
    const quint16 type = u16(d + at);
    const quint16 headerWords = u16(d + at + 2);
    if ((type != 1 && type != 2) || headerWords != 9)
        return fail(QStringLiteral("This is not a metafile."));
    TMetafile metafile;
    metafile.m_objects = u16(d + at + 10);
    at += 18;

    // Walk the records once: each must hold at least its own size and function, and the
    // window they set gives the frame when no placeable header does.
    QRectF window;
    qsizetype end = at;
    int records = 0;
    while (end + 6 <= data.size()) {
        const quint32 words = quint32(u16(d + end)) | quint32(u16(d + end + 2)) << 16;
        const quint16 function = u16(d + end + 4);
        if (function == EndOfFile)
            break;
        if (words < 3 || ++records > MaxRecords)
            return fail(QStringLiteral("The metafile's records are damaged."));
        if (qint64(words) * 2 > data.size() - end)
            break; // cut short: play what is whole
        const Params p(d + end + 6, int(words - 3));
        if (function == SetWindowOrg && window.isNull())
            window.moveTopLeft(QPointF(p.integer(1), p.integer(0)));
        else if (function == SetWindowExt && window.size().isEmpty())
            window.setSize(QSizeF(p.integer(1), p.integer(0)));
        end += qsizetype(words) * 2;
    }
    if (records == 0)
        return fail(QStringLiteral("The metafile holds nothing to draw."));

    metafile.m_records = data.mid(at, end - at);
    metafile.m_frame = !bounds.isEmpty() ? bounds : window;
    if (metafile.m_frame.width() == 0 || metafile.m_frame.height() == 0) {
        // Without a stated frame the drawing's own extent is the frame: play it once at
        // one logical unit per pixel and measure what it drew.
        QPicture recording;
        QPainter painter(&recording);
        const QRectF unit(0, 0, 1000, 1000);
        Player(painter, unit, unit, metafile.m_objects).play(metafile.m_records);
        painter.end();
        metafile.m_frame = recording.boundingRect();
        if (metafile.m_frame.isEmpty())
            metafile.m_frame = unit;
    }
    QSizeF size = metafile.m_frame.size();
    size = QSizeF(std::abs(size.width()), std::abs(size.height()));
    if (inch > 0)
        size *= 96.0 / inch;
    else if (size.width() > 2000 || size.height() > 2000)
        size.scale(1000, 1000, Qt::KeepAspectRatio);
    metafile.m_size = size.toSize().expandedTo(QSize(1, 1));
    return metafile;
}

void TMetafile::play(QPainter &painter, const QRectF &target) const
{
    if (isEmpty() || target.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setClipRect(target, Qt::IntersectClip);
    Player(painter, target, m_frame, m_objects).play(m_records);
    painter.restore();
}
