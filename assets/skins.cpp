#include "assets/skins.h"

#include <cmath>
#include <numbers>

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QRadialGradient>

#include "assets/artkit.h"
#include "platform/appdir.h"
#include "platform/skinpicture.h"

namespace art {

namespace {

// The program's colours: the title strip and the light backgrounds the windows paint themselves.
const QColor kTitleStrip(0x70, 0x6D, 0x73);
const QColor kWindowPanel(0xEF, 0xEF, 0xF1);
const QColor kSidePanel(216, 216, 229);
const QColor kFloatPanel(0xEF, 0xEF, 0xF3);
const QColor kAccent(0, 179, 179);
const QColor kAccentDark(0, 128, 132);
const QColor kInk(0x33, 0x31, 0x38);

enum State { Normal = 0, Hover = 1, Pressed = 2, Disabled = 3 };

// A picture of nWidth x nHeight logical pixels drawn at dScale: each side dScale times as many pixels,
// carrying dScale as its device pixel ratio, so the same drawing code, in the logical coordinates of
// the 1x picture, paints the @2x picture at its full resolution.
QImage NewSkin(int nWidth, int nHeight, double dScale, QColor fill = Qt::transparent)
{
    QImage image = NewImage(int(std::lround(nWidth * dScale)), int(std::lround(nHeight * dScale)), fill);
    image.setDevicePixelRatio(dScale);
    return image;
}

// The toolbar band, 100 rows: the main window shows rows 0 to 59 (y 30 to 90).
QColor BandColour(double dRow)
{
    if (dRow < 1)
        return QColor(0x8C, 0x89, 0x93);
    if (dRow >= 57 && dRow < 60)
        return dRow < 58 ? QColor(0x2C, 0xC4, 0xC4) : kAccentDark;
    const double t = std::clamp((dRow - 1) / 56.0, 0.0, 1.0);
    return Mix(QColor(0x5F, 0x5C, 0x66), QColor(0x3A, 0x38, 0x40), t);
}

void FillBand(QPainter& painter, const QRectF& box, int nFirstRow)
{
    for (int y = 0; y < int(box.height()); ++y)
        painter.fillRect(QRectF(box.left(), box.top() + y, box.width(), 1), BandColour(nFirstRow + y));
}

// Draws a glyph designed on a 24 x 24 grid into the box.
void Glyph(QPainter& painter, const QString& strName, const QRectF& box, QColor ink, QColor accent)
{
    painter.save();
    painter.translate(box.topLeft());
    painter.scale(box.width() / 24.0, box.height() / 24.0);
    painter.setPen(Qt::NoPen);
    const QColor shade = Mix(ink, Qt::black, 0.25);
    auto stroke = [&](QColor c, double w) {
        QPen pen(c, w);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        return pen;
    };

    if (strName == QLatin1String("new")) {
        QPainterPath page;
        page.moveTo(4, 1.5);
        page.lineTo(14.5, 1.5);
        page.lineTo(20, 7);
        page.lineTo(20, 22.5);
        page.lineTo(4, 22.5);
        page.closeSubpath();
        painter.setBrush(VerticalGradient(QRectF(0, 0, 24, 24), {{0, ink}, {1, Mix(ink, Qt::gray, 0.25)}}));
        painter.drawPath(page);
        QPainterPath fold;
        fold.moveTo(14.5, 1.5);
        fold.lineTo(14.5, 7);
        fold.lineTo(20, 7);
        fold.closeSubpath();
        painter.setBrush(Mix(ink, Qt::gray, 0.5));
        painter.drawPath(fold);
        painter.setPen(stroke(Mix(ink, Qt::gray, 0.55), 1));
        for (int i = 0; i < 3; ++i)
            painter.drawLine(QPointF(7, 11 + 3 * i), QPointF(i == 2 ? 12 : 16, 11 + 3 * i));
        painter.setPen(Qt::NoPen);
        painter.setBrush(GlossBrush(QRectF(12, 12, 12, 12), accent));
        painter.drawEllipse(QPointF(18, 18), 5.8, 5.8);
        painter.setPen(stroke(Qt::white, 1.8));
        painter.drawLine(QPointF(18, 15), QPointF(18, 21));
        painter.drawLine(QPointF(15, 18), QPointF(21, 18));
    } else if (strName == QLatin1String("open")) {
        const QColor amber = accent;
        QPainterPath back;
        back.moveTo(1.5, 5);
        back.lineTo(8.5, 5);
        back.lineTo(10.5, 7.5);
        back.lineTo(21, 7.5);
        back.lineTo(21, 20);
        back.lineTo(1.5, 20);
        back.closeSubpath();
        painter.setBrush(Mix(amber, Qt::black, 0.3));
        painter.drawPath(back);
        painter.setBrush(ink);
        painter.drawRect(QRectF(4.5, 9, 14, 9));
        QPainterPath front;
        front.moveTo(4, 11.5);
        front.lineTo(23, 11.5);
        front.lineTo(20.5, 20);
        front.lineTo(1.5, 20);
        front.closeSubpath();
        painter.setBrush(VerticalGradient(QRectF(0, 11, 24, 9), {{0, Mix(amber, Qt::white, 0.35)}, {1, amber}}));
        painter.drawPath(front);
    } else if (strName == QLatin1String("save")) {
        painter.setBrush(VerticalGradient(QRectF(0, 2, 24, 20), {{0, Mix(accent, Qt::white, 0.25)}, {1, accent}}));
        painter.drawRoundedRect(QRectF(2.5, 2.5, 19, 19), 2.5, 2.5);
        painter.setBrush(Mix(ink, Qt::gray, 0.2));
        painter.drawRect(QRectF(7, 2.5, 10, 6.5));
        painter.setBrush(Mix(accent, Qt::black, 0.45));
        painter.drawRect(QRectF(13.2, 3.6, 2.2, 4.2));
        painter.setBrush(ink);
        painter.drawRoundedRect(QRectF(5.5, 12, 13, 9.5), 1, 1);
        painter.setPen(stroke(Mix(ink, Qt::gray, 0.6), 1));
        painter.drawLine(QPointF(8, 15), QPointF(16, 15));
        painter.drawLine(QPointF(8, 18), QPointF(16, 18));
    } else if (strName == QLatin1String("undo") || strName == QLatin1String("redo")) {
        if (strName == QLatin1String("redo")) {
            painter.translate(24, 0);
            painter.scale(-1, 1);
        }
        QPainterPath arc;
        arc.moveTo(19.5, 20);
        arc.cubicTo(21.5, 12, 16, 7.5, 9, 8.5);
        painter.setPen(stroke(ink, 3.2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(arc);
        painter.setPen(Qt::NoPen);
        painter.setBrush(ink);
        QPainterPath head;
        head.moveTo(10.5, 2.5);
        head.lineTo(2.5, 8.8);
        head.lineTo(10.5, 15);
        head.closeSubpath();
        painter.drawPath(head);
        painter.setBrush(accent);
        painter.drawEllipse(QPointF(19.6, 20.2), 1.9, 1.9);
    } else if (strName == QLatin1String("preview")) {
        QPainterPath eye;
        eye.moveTo(1.5, 12);
        eye.quadTo(12, 1, 22.5, 12);
        eye.quadTo(12, 23, 1.5, 12);
        eye.closeSubpath();
        painter.setBrush(ink);
        painter.drawPath(eye);
        painter.setBrush(GlossBrush(QRectF(7, 7, 10, 10), accent));
        painter.drawEllipse(QPointF(12, 12), 5.2, 5.2);
        painter.setBrush(QColor(0x1E, 0x1C, 0x22));
        painter.drawEllipse(QPointF(12, 12), 2.3, 2.3);
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(10.4, 10.3), 1.1, 1.1);
    } else if (strName == QLatin1String("print")) {
        painter.setBrush(ink);
        painter.drawRect(QRectF(6, 2, 12, 8));
        painter.setBrush(VerticalGradient(QRectF(0, 8, 24, 10), {{0, Mix(ink, Qt::gray, 0.3)}, {1, shade}}));
        painter.drawRoundedRect(QRectF(1.5, 8, 21, 10), 2.5, 2.5);
        painter.setBrush(Mix(ink, Qt::black, 0.55));
        painter.drawRect(QRectF(5, 15, 14, 2));
        painter.setBrush(ink);
        painter.drawRect(QRectF(6, 16, 12, 6.5));
        painter.setPen(stroke(Mix(ink, Qt::gray, 0.6), 0.9));
        painter.drawLine(QPointF(8, 18.5), QPointF(16, 18.5));
        painter.drawLine(QPointF(8, 20.5), QPointF(14, 20.5));
        painter.setPen(Qt::NoPen);
        painter.setBrush(accent);
        painter.drawEllipse(QPointF(19, 11), 1.3, 1.3);
    } else if (strName == QLatin1String("export")) {
        painter.setBrush(ink);
        painter.drawRoundedRect(QRectF(1.5, 4, 16, 14), 1.5, 1.5);
        painter.setBrush(
            VerticalGradient(QRectF(3, 5.5, 13, 11), {{0, QColor(0x7C, 0xC4, 0xF0)}, {1, QColor(0xC9, 0xE8, 0xF7)}}));
        painter.drawRect(QRectF(3, 5.5, 13, 11));
        QPainterPath hill;
        hill.moveTo(3, 16.5);
        hill.quadTo(7, 10, 11, 14);
        hill.quadTo(13.5, 11.5, 16, 13.5);
        hill.lineTo(16, 16.5);
        hill.closeSubpath();
        painter.setBrush(QColor(0x4C, 0xAF, 0x50));
        painter.drawPath(hill);
        painter.setBrush(QColor(0xFF, 0xC8, 0x3D));
        painter.drawEllipse(QPointF(12.5, 8.5), 1.7, 1.7);
        painter.setPen(stroke(Mix(accent, Qt::black, 0.35), 4.6));
        painter.drawLine(QPointF(14, 19.5), QPointF(20, 13.5));
        painter.setPen(stroke(accent, 2.6));
        painter.drawLine(QPointF(14, 19.5), QPointF(20, 13.5));
        painter.setPen(Qt::NoPen);
        QPainterPath head;
        head.moveTo(23, 10.5);
        head.lineTo(22.5, 18);
        head.lineTo(15.5, 11);
        head.closeSubpath();
        painter.setBrush(accent);
        painter.drawPath(head);
    } else if (strName == QLatin1String("help")) {
        painter.setPen(stroke(ink, 2));
        painter.setBrush(VerticalGradient(
            QRectF(2, 2, 20, 20), {{0, Mix(accent, Qt::white, 0.2)}, {1, Mix(accent, Qt::black, 0.3)}}));
        painter.drawEllipse(QPointF(12, 12), 9.5, 9.5);
        painter.setPen(Qt::NoPen);
        painter.setBrush(ink);
        painter.drawPath(TextPath(QStringLiteral("?"), SansFont(15), QPointF(12, 12.2)));
    } else if (strName == QLatin1String("image") || strName == QLatin1String("photo")) {
        painter.setBrush(ink);
        painter.drawRoundedRect(QRectF(1.5, 4, 21, 16.5), 2, 2);
        painter.setBrush(Mix(accent, Qt::white, 0.75));
        painter.drawRect(QRectF(3.5, 6, 17, 12.5));
        QPainterPath hills;
        hills.moveTo(3.5, 18.5);
        hills.lineTo(9, 11);
        hills.lineTo(13, 15.5);
        hills.lineTo(15.5, 13);
        hills.lineTo(20.5, 18.5);
        hills.closeSubpath();
        painter.setBrush(accent);
        painter.drawPath(hills);
        painter.setBrush(QColor(0xFF, 0xB7, 0x2B));
        painter.drawEllipse(QPointF(16.5, 9.3), 1.8, 1.8);
    } else if (strName == QLatin1String("text")) {
        painter.setBrush(ink);
        painter.drawPath(TextPath(QStringLiteral("T"), SerifFont(22, true, false), QPointF(10.5, 12)));
        painter.setBrush(accent);
        painter.drawRect(QRectF(18, 6, 2.2, 13));
    } else if (strName == QLatin1String("frame")) {
        QPainterPath ring;
        ring.addRoundedRect(QRectF(2, 2.5, 20, 19), 2, 2);
        ring.addRect(QRectF(6.5, 7, 11, 10));
        ring.setFillRule(Qt::OddEvenFill);
        painter.setBrush(MetalBrush(QRectF(2, 2, 20, 20), QColor(0xD9, 0xA4, 0x2E)));
        painter.drawPath(ring);
        painter.setBrush(Mix(accent, Qt::white, 0.6));
        painter.drawRect(QRectF(6.5, 7, 11, 10));
    } else if (strName == QLatin1String("element")) {
        painter.setBrush(GlossBrush(QRectF(1, 1, 22, 22), QColor(0xFF, 0xB3, 0x1A)));
        painter.drawPath(StarPath(QPointF(12, 12.8), 11, 4.8, 5));
    } else if (strName == QLatin1String("mask")) {
        QRadialGradient soft(QPointF(12, 12), 10.5);
        soft.setColorAt(0, ink);
        soft.setColorAt(0.7, ink);
        soft.setColorAt(1, WithAlpha(ink, 0));
        painter.setBrush(QColor(0x3C, 0x3A, 0x42));
        painter.drawRoundedRect(QRectF(1.5, 2.5, 21, 19), 2, 2);
        painter.setBrush(soft);
        painter.drawEllipse(QRectF(3, 3.5, 18, 17));
    } else if (strName == QLatin1String("addtext")) {
        painter.setBrush(ink);
        painter.drawPath(TextPath(QStringLiteral("T"), SerifFont(21, true, false), QPointF(9, 12)));
        painter.setPen(stroke(ink, 2.6));
        painter.drawLine(QPointF(19, 9), QPointF(19, 19));
        painter.drawLine(QPointF(14, 14), QPointF(24, 14));
    } else if (strName == QLatin1String("bold")) {
        painter.setBrush(ink);
        painter.drawPath(TextPath(QStringLiteral("B"), SansFont(19, true), QPointF(12, 12)));
    } else if (strName == QLatin1String("italic")) {
        painter.setBrush(ink);
        painter.drawPath(TextPath(QStringLiteral("I"), SerifFont(20, true, true), QPointF(12, 12)));
    } else if (strName == QLatin1String("underline")) {
        painter.setBrush(ink);
        painter.drawPath(TextPath(QStringLiteral("U"), SansFont(17, true), QPointF(12, 10.5)));
        painter.drawRect(QRectF(5.5, 20, 13, 2));
    } else if (strName == QLatin1String("strike")) {
        painter.setBrush(ink);
        painter.drawPath(TextPath(QStringLiteral("S"), SansFont(19, true), QPointF(12, 12)));
        painter.setBrush(accent);
        painter.drawRect(QRectF(3.5, 11.2, 17, 2));
    } else if (strName == QLatin1String("left") || strName == QLatin1String("center")
        || strName == QLatin1String("right")) {
        static const double kWidths[] = {17, 11, 17, 13};
        for (int i = 0; i < 4; ++i) {
            const double w = kWidths[i];
            double x = 3.5;
            if (strName == QLatin1String("center"))
                x = 12 - w / 2;
            else if (strName == QLatin1String("right"))
                x = 20.5 - w;
            painter.setBrush(i == 0 ? accent : ink);
            painter.drawRoundedRect(QRectF(x, 4.5 + 4.6 * i, w, 2.4), 1, 1);
        }
    } else if (strName == QLatin1String("tofront") || strName == QLatin1String("forward")
        || strName == QLatin1String("backward") || strName == QLatin1String("toback")) {
        const bool bDown = strName == QLatin1String("backward") || strName == QLatin1String("toback");
        const bool bDouble = strName == QLatin1String("tofront") || strName == QLatin1String("toback");
        if (bDown) {
            painter.translate(0, 24);
            painter.scale(1, -1);
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(stroke(ink, 3));
        auto chevron = [&](double y) {
            QPainterPath path;
            path.moveTo(5, y + 6);
            path.lineTo(12, y);
            path.lineTo(19, y + 6);
            painter.drawPath(path);
        };
        if (bDouble) {
            painter.setPen(stroke(accent, 3));
            painter.drawLine(QPointF(4.5, 3), QPointF(19.5, 3));
            painter.setPen(stroke(ink, 3));
            chevron(8.5);
            chevron(15);
        } else {
            chevron(9);
        }
    } else if (strName == QLatin1String("delete")) {
        painter.setBrush(ink);
        painter.drawRoundedRect(QRectF(4, 4, 16, 2.6), 1, 1);
        painter.drawRect(QRectF(9.5, 2, 5, 2.5));
        QPainterPath bin;
        bin.moveTo(5.5, 7.5);
        bin.lineTo(18.5, 7.5);
        bin.lineTo(17.2, 22);
        bin.lineTo(6.8, 22);
        bin.closeSubpath();
        painter.drawPath(bin);
        painter.setPen(stroke(accent, 1.5));
        for (double x : {9.3, 12.0, 14.7})
            painter.drawLine(QPointF(x, 10.5), QPointF(x, 19));
    } else if (strName == QLatin1String("dock")) {
        painter.translate(12, 12);
        painter.rotate(35);
        painter.translate(-12, -12);
        painter.setBrush(accent);
        painter.drawEllipse(QPointF(12, 5.5), 4.5, 4.5);
        painter.setBrush(ink);
        painter.drawRoundedRect(QRectF(8.5, 8, 7, 7), 1, 1);
        painter.drawRoundedRect(QRectF(5, 13.5, 14, 2.8), 1.2, 1.2);
        painter.setPen(stroke(ink, 1.6));
        painter.drawLine(QPointF(12, 16), QPointF(12, 23));
    }
    painter.restore();
}

// Desaturates a picture and lowers its opacity, for the disabled frame's glyph.
QImage Faded(const QImage& image, QColor background, double dOpacity)
{
    QImage grey = image.convertToFormat(QImage::Format_ARGB32);
    grey.setDevicePixelRatio(image.devicePixelRatio());
    for (int y = 0; y < grey.height(); ++y) {
        auto* pLine = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int v = qGray(pLine[x]);
            pLine[x] = qRgba(v, v, v, qAlpha(pLine[x]));
        }
    }
    QImage result = NewImage(image.width(), image.height(), background);
    result.setDevicePixelRatio(image.devicePixelRatio());
    QPainter painter(&result);
    painter.setOpacity(dOpacity);
    painter.drawImage(0, 0, grey);
    return result;
}

// One glyph rendered on its own transparent layer of logical size at dScale, so that it can be faded
// as a whole.
QImage GlyphLayer(const QString& strName, QSize size, double dScale, const QRectF& box, QColor ink, QColor accent,
    QPointF shadowOffset = QPointF(), QColor shadow = Qt::transparent)
{
    QImage layer = NewSkin(size.width(), size.height(), dScale);
    QPainter painter(&layer);
    Prepare(painter);
    Glyph(painter, strName, box, ink, accent);
    painter.end();
    if (shadow.alpha() > 0) {
        // The shadow is blurred in pixels: its offset and radius grow with the scale.
        layer.setDevicePixelRatio(1);
        layer = WithShadow(layer, shadowOffset * dScale, int(std::lround(2 * dScale)), shadow);
        layer.setDevicePixelRatio(dScale);
    }
    return layer;
}

// The accent colour of each toolbar icon.
QColor ToolbarAccent(const QString& strGlyph)
{
    if (strGlyph == QLatin1String("open"))
        return QColor(0xF5, 0xB0, 0x3C);
    if (strGlyph == QLatin1String("save"))
        return QColor(0x4A, 0x8F, 0xDB);
    return QColor(0x2C, 0xD0, 0xD0);
}

QImage ToolbarFrame(const ButtonSkin& skin, int nState, int nBandRow, double dScale)
{
    const int w = skin.nWidth;
    const int h = skin.nHeight;
    QImage frame = NewSkin(w, h, dScale);
    QPainter painter(&frame);
    Prepare(painter);
    FillBand(painter, QRectF(0, 0, w, h), nBandRow);
    const QRectF plate(1.5, 1.5, w - 3, h - 3);
    if (nState == Hover) {
        painter.setPen(QPen(QColor(255, 255, 255, 90), 1));
        painter.setBrush(VerticalGradient(plate, {{0, QColor(255, 255, 255, 70)}, {1, QColor(255, 255, 255, 22)}}));
        painter.drawRoundedRect(plate, 6, 6);
    } else if (nState == Pressed) {
        painter.setPen(QPen(WithAlpha(kAccent, 220), 1.2));
        painter.setBrush(VerticalGradient(plate, {{0, QColor(0, 0, 0, 110)}, {1, QColor(0, 0, 0, 50)}}));
        painter.drawRoundedRect(plate, 6, 6);
    }
    const double dSide = std::min(w, h) - 12.0;
    QRectF box((w - dSide) / 2, (h - dSide) / 2, dSide, dSide);
    if (nState == Pressed)
        box.translate(0, 1);
    const QColor ink = nState == Hover ? QColor(255, 255, 255) : QColor(0xEE, 0xEE, 0xF2);
    const QImage glyph = GlyphLayer(skin.strGlyph, QSize(w, h), dScale, box, ink, ToolbarAccent(skin.strGlyph),
        QPointF(0, 1.5), QColor(0, 0, 0, nState == Pressed ? 60 : 140));
    if (nState == Disabled) {
        painter.setOpacity(0.32);
        painter.drawImage(0, 0, Faded(glyph, Qt::transparent, 1.0));
    } else {
        painter.drawImage(0, 0, glyph);
    }
    return frame;
}

QImage TitleGlyphFrame(const ButtonSkin& skin, int nState, double dScale)
{
    const int w = skin.nWidth;
    const int h = skin.nHeight;
    QImage frame = NewSkin(w, h, dScale, kTitleStrip);
    QPainter painter(&frame);
    Prepare(painter);
    const bool bClose = skin.strGlyph == QLatin1String("close");
    QColor plate = Qt::transparent;
    if (nState == Hover)
        plate = bClose ? QColor(0xE0, 0x4A, 0x3F) : QColor(0x8E, 0x8B, 0x94);
    else if (nState == Pressed)
        plate = bClose ? QColor(0xA8, 0x2E, 0x25) : QColor(0x4E, 0x4B, 0x53);
    if (plate.alpha() > 0) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(plate);
        painter.drawRoundedRect(QRectF(0, 0, w, h), 3, 3);
    }
    QColor ink = nState == Disabled ? QColor(0x9A, 0x98, 0x9E) : QColor(0xF4, 0xF4, 0xF6);
    QPen pen(ink, 1.6);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const double cx = w / 2.0;
    const double cy = h / 2.0;
    if (skin.strGlyph == QLatin1String("min")) {
        painter.drawLine(QPointF(cx - 3.5, cy + 2.5), QPointF(cx + 3.5, cy + 2.5));
    } else if (skin.strGlyph == QLatin1String("max")) {
        pen.setWidthF(1.3);
        painter.setPen(pen);
        painter.drawRect(QRectF(cx - 3.5, cy - 3.5, 7, 7));
        painter.drawLine(QPointF(cx - 3.5, cy - 2.6), QPointF(cx + 3.5, cy - 2.6));
    } else {
        painter.drawLine(QPointF(cx - 3.2, cy - 3.2), QPointF(cx + 3.2, cy + 3.2));
        painter.drawLine(QPointF(cx + 3.2, cy - 3.2), QPointF(cx - 3.2, cy + 3.2));
    }
    return frame;
}

QImage WindowTabFrame(const ButtonSkin& skin, int nState, double dScale)
{
    const int w = skin.nWidth;
    const int h = skin.nHeight;
    QImage frame = NewSkin(w, h, dScale, kWindowPanel);
    QPainter painter(&frame);
    Prepare(painter);
    // A tab with rounded upper corners that merges with the panel below it when pressed.
    QPainterPath tab;
    const QRectF body(0.5, 2.5, w - 1, h);
    tab.addRoundedRect(body.adjusted(0, 0, 0, 8), 7, 7);
    QPainterPath clip;
    clip.addRect(QRectF(0, 0, w, h));
    tab = tab.intersected(clip);
    QBrush fill;
    QColor border(0xC3, 0xC2, 0xCF);
    QColor ink(0x55, 0x53, 0x5C);
    QColor accent = kAccent;
    switch (nState) {
    case Normal:
        fill = VerticalGradient(body, {{0, QColor(0xFB, 0xFB, 0xFD)}, {1, QColor(0xE2, 0xE2, 0xEA)}});
        break;
    case Hover:
        fill = VerticalGradient(body, {{0, QColor(0xFF, 0xFF, 0xFF)}, {1, QColor(0xD9, 0xF1, 0xF1)}});
        border = Mix(kAccent, Qt::white, 0.35);
        ink = kAccentDark;
        break;
    case Pressed:
        fill = kSidePanel;
        border = QColor(0xB8, 0xB7, 0xC8);
        ink = kInk;
        break;
    default:
        fill = QColor(0xE9, 0xE9, 0xEE);
        border = QColor(0xD6, 0xD6, 0xDE);
        ink = QColor(0xAC, 0xAB, 0xB3);
        accent = QColor(0xB8, 0xB8, 0xC0);
        break;
    }
    painter.setPen(QPen(border, 1));
    painter.setBrush(fill);
    painter.drawPath(tab);
    if (nState == Pressed) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kAccent);
        painter.save();
        painter.setClipPath(tab);
        painter.drawRect(QRectF(0, 0, w, 5.5));
        painter.restore();
    } else {
        painter.setPen(QPen(border, 1));
        painter.drawLine(QPointF(0, h - 0.5), QPointF(w, h - 0.5));
    }
    const QFont font = SansFont(13, nState == Pressed);
    const QString& strCaption = skin.strCaption;
    const double dText = QFontMetricsF(font).horizontalAdvance(strCaption);
    const double dGlyph = 17;
    const double x0 = (w - (dGlyph + 6 + dText)) / 2;
    const double yMid = 3 + (h - 3) / 2.0;
    const QImage glyph
        = GlyphLayer(skin.strGlyph, QSize(w, h), dScale, QRectF(x0, yMid - dGlyph / 2, dGlyph, dGlyph), ink, accent);
    painter.drawImage(0, 0, glyph);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    QPainterPath text;
    text.addText(0, 0, font, strCaption);
    const QRectF tb = text.boundingRect();
    painter.drawPath(text.translated(x0 + dGlyph + 6 - tb.left(), yMid - tb.center().y()));
    return frame;
}

QImage PanelTabFrame(const ButtonSkin& skin, int nState, double dScale)
{
    const int w = skin.nWidth;
    const int h = skin.nHeight;
    QImage frame = NewSkin(w, h, dScale, kSidePanel);
    QPainter painter(&frame);
    Prepare(painter);
    const QRectF body(0.5, 0.5, w - 1, h - 1);
    QBrush fill;
    QColor border;
    QColor ink;
    QColor accent = kAccent;
    switch (nState) {
    case Normal:
        fill = VerticalGradient(body, {{0, QColor(0xFF, 0xFF, 0xFF)}, {1, QColor(0xE8, 0xE8, 0xEF)}});
        border = QColor(0xB4, 0xB3, 0xC4);
        ink = QColor(0x3F, 0x3D, 0x46);
        break;
    case Hover:
        fill = VerticalGradient(body, {{0, QColor(0xF4, 0xFD, 0xFD)}, {1, QColor(0xCC, 0xEE, 0xEE)}});
        border = Mix(kAccent, Qt::white, 0.2);
        ink = kAccentDark;
        break;
    case Pressed:
        fill = VerticalGradient(body, {{0, QColor(0x22, 0xC3, 0xC3)}, {1, QColor(0x00, 0x96, 0x98)}});
        border = QColor(0x00, 0x80, 0x82);
        ink = Qt::white;
        accent = QColor(0xFF, 0xE0, 0x8A);
        break;
    default:
        fill = QColor(0xE4, 0xE4, 0xEC);
        border = QColor(0xC6, 0xC6, 0xD2);
        ink = QColor(0xA4, 0xA3, 0xAE);
        accent = QColor(0xB8, 0xB8, 0xC2);
        break;
    }
    painter.setPen(QPen(border, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(body, 4, 4);
    if (nState == Pressed) {
        painter.setPen(QPen(QColor(255, 255, 255, 80), 1));
        painter.drawLine(QPointF(4, 1.5), QPointF(w - 4, 1.5));
    }
    const double dGlyph = h - 7.0;
    const QImage glyph = GlyphLayer(skin.strGlyph, QSize(w, h), dScale, QRectF(9, 3.5, dGlyph, dGlyph), ink, accent);
    painter.drawImage(0, 0, glyph);
    const QFont font = SansFont(12, true);
    QPainterPath text;
    text.addText(0, 0, font, skin.strCaption);
    const QRectF tb = text.boundingRect();
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawPath(text.translated(9 + dGlyph + 9 - tb.left(), h / 2.0 - tb.center().y()));
    if (nState != Disabled && skin.strGlyph != QLatin1String("addtext")) {
        // A small chevron at the right end marks the tab that opens a list.
        QPen pen(nState == Pressed ? QColor(255, 255, 255, 200) : WithAlpha(ink, 120), 1.6);
        pen.setCapStyle(Qt::RoundCap);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        QPainterPath chevron;
        chevron.moveTo(w - 15, h / 2.0 - 3.5);
        chevron.lineTo(w - 11, h / 2.0);
        chevron.lineTo(w - 15, h / 2.0 + 3.5);
        painter.drawPath(chevron);
    }
    return frame;
}

QImage SmallButtonFrame(const ButtonSkin& skin, int nState, QColor background, double dScale)
{
    const int w = skin.nWidth;
    const int h = skin.nHeight;
    QImage frame = NewSkin(w, h, dScale, background);
    QPainter painter(&frame);
    Prepare(painter);
    const QRectF body(0.5, 0.5, w - 1, h - 1);
    QBrush fill;
    QColor border;
    QColor ink;
    QColor accent = kAccent;
    const bool bDelete = skin.strGlyph == QLatin1String("delete");
    switch (nState) {
    case Normal:
        fill = VerticalGradient(body, {{0, QColor(0xFF, 0xFF, 0xFF)}, {1, QColor(0xE6, 0xE6, 0xEE)}});
        border = QColor(0xB0, 0xAF, 0xC0);
        ink = QColor(0x3D, 0x3B, 0x44);
        if (bDelete)
            accent = QColor(0xC9, 0x4B, 0x42);
        break;
    case Hover:
        fill = VerticalGradient(body, {{0, QColor(0xF2, 0xFD, 0xFD)}, {1, QColor(0xC8, 0xEC, 0xEC)}});
        border = kAccent;
        ink = bDelete ? QColor(0xC0, 0x39, 0x2B) : kAccentDark;
        if (bDelete)
            accent = QColor(0xFF, 0xD6, 0xD2);
        break;
    case Pressed:
        fill = VerticalGradient(body, {{0, QColor(0x00, 0x9C, 0x9E)}, {1, QColor(0x1C, 0xC0, 0xC0)}});
        border = QColor(0x00, 0x7A, 0x7C);
        ink = Qt::white;
        accent = QColor(0xFF, 0xE0, 0x8A);
        break;
    default:
        fill = QColor(0xE6, 0xE6, 0xEC);
        border = QColor(0xCC, 0xCC, 0xD6);
        ink = QColor(0xB0, 0xAF, 0xB8);
        accent = QColor(0xC4, 0xC4, 0xCC);
        break;
    }
    painter.setPen(QPen(border, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(body, 3.5, 3.5);
    const double dSide = std::min(w, h) - (std::min(w, h) > 18 ? 6.0 : 4.0);
    QRectF box((w - dSide) / 2, (h - dSide) / 2, dSide, dSide);
    if (nState == Pressed)
        box.translate(0, 0.5);
    painter.drawImage(0, 0, GlyphLayer(skin.strGlyph, QSize(w, h), dScale, box, ink, accent));
    return frame;
}

QImage SkinStrip(const ButtonSkin& skin, double dScale)
{
    QImage strip = NewSkin(4 * skin.nWidth, skin.nHeight, dScale);
    QPainter painter(&strip);
    for (int nState = Normal; nState <= Disabled; ++nState) {
        QImage frame;
        switch (skin.face) {
        case SkinFace::Toolbar:
            frame = ToolbarFrame(skin, nState, 10, dScale);
            break;
        case SkinFace::TitleGlyph:
            frame = TitleGlyphFrame(skin, nState, dScale);
            break;
        case SkinFace::WindowTab:
            frame = WindowTabFrame(skin, nState, dScale);
            break;
        case SkinFace::PanelTab:
            frame = PanelTabFrame(skin, nState, dScale);
            break;
        case SkinFace::TextButton:
            frame = SmallButtonFrame(skin, nState, kSidePanel, dScale);
            break;
        case SkinFace::FloatButton:
            frame = SmallButtonFrame(skin, nState, kFloatPanel, dScale);
            break;
        }
        painter.drawImage(nState * skin.nWidth, 0, frame);
    }
    return strip;
}

// The toolbar band: xleft carries the separators between the button groups, xcenter is stretched,
// xright ends it.
QImage Band(int nWidth, bool bSeparators, double dScale)
{
    QImage band = NewSkin(nWidth, 100, dScale);
    QPainter painter(&band);
    Prepare(painter);
    FillBand(painter, QRectF(0, 0, nWidth, 100), 0);
    if (bSeparators) {
        // Between Save and Undo, and between Redo and Preview.
        for (double x : {175.0, 285.0}) {
            painter.fillRect(QRectF(x, 14, 1, 32), QColor(0x2E, 0x2C, 0x33));
            painter.fillRect(QRectF(x + 1, 14, 1, 32), QColor(0x74, 0x71, 0x7A));
        }
    }
    return band;
}

// The program's icon, designed on a 24 x 24 grid, drawn nSize pixels square.
QImage AppIcon(int nSize = 24)
{
    QImage icon = NewImage(nSize, nSize);
    QPainter painter(&icon);
    Prepare(painter);
    painter.scale(nSize / 24.0, nSize / 24.0);
    const QRectF body(1, 1, 22, 22);
    painter.setPen(QPen(QColor(0, 90, 92), 1));
    painter.setBrush(VerticalGradient(body, {{0, QColor(0x3F, 0xD6, 0xD3)}, {1, QColor(0x00, 0x8C, 0x90)}}));
    painter.drawRoundedRect(body, 5, 5);
    // A card with a quill across it.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 235));
    painter.drawRoundedRect(QRectF(5, 6, 10, 13), 1.2, 1.2);
    painter.setBrush(QColor(0xFF, 0x8A, 0x80));
    painter.drawPath(HeartPath(QRectF(7, 9.5, 6, 5.5)));
    QPainterPath quill;
    quill.moveTo(20.5, 3.2);
    quill.cubicTo(14.5, 5, 11, 11, 10.3, 18.5);
    quill.cubicTo(13, 15, 17.5, 11, 20.5, 3.2);
    painter.setBrush(QColor(0xFF, 0xE3, 0x8C));
    painter.drawPath(quill);
    painter.setPen(QPen(QColor(0x8A, 0x5A, 0x10), 0.8));
    painter.drawLine(QPointF(19.5, 4.5), QPointF(9.8, 20.5));
    return icon;
}

QImage Separator(double dScale)
{
    QImage line = NewSkin(10, 600, dScale, kWindowPanel);
    QPainter painter(&line);
    painter.fillRect(QRectF(3, 0, 1, 600), QColor(0xE2, 0xE2, 0xE8));
    painter.fillRect(QRectF(4, 0, 1, 600), QColor(0xC4, 0xC3, 0xD0));
    painter.fillRect(QRectF(5, 0, 1, 600), QColor(0xFF, 0xFF, 0xFF));
    return line;
}

// The dial face: a graphite ring with ticks around a light centre that shows the resize arrows and
// keeps the black angle readout legible.
QImage DialFace(double dScale)
{
    const int d = 50;
    QImage face = NewSkin(d, d, dScale, kFloatPanel);
    QPainter painter(&face);
    Prepare(painter);
    const QPointF c(d / 2.0, d / 2.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 40));
    painter.drawEllipse(c + QPointF(0, 0.8), 24.5, 24.5);
    QRadialGradient ring(c, 25, QPointF(c.x() - 6, c.y() - 8));
    ring.setColorAt(0, QColor(0x6B, 0x69, 0x72));
    ring.setColorAt(1, QColor(0x26, 0x25, 0x2A));
    painter.setBrush(ring);
    painter.drawEllipse(c, 24.5, 24.5);
    painter.setPen(QPen(QColor(0xC8, 0xC8, 0xD2), 1));
    for (int i = 0; i < 24; ++i) {
        const double a = i * 15.0 * std::numbers::pi / 180.0;
        const double r0 = (i % 6 == 0) ? 17.5 : 19.5;
        painter.setPen(QPen(i % 6 == 0 ? QColor(0x4D, 0xD8, 0xD8) : QColor(0x9A, 0x98, 0xA4), i % 6 == 0 ? 1.4 : 0.8));
        painter.drawLine(
            c + QPointF(std::sin(a) * r0, -std::cos(a) * r0), c + QPointF(std::sin(a) * 22, -std::cos(a) * 22));
    }
    painter.setPen(QPen(QColor(0x1C, 0x1B, 0x20), 1));
    painter.setBrush(
        VerticalGradient(QRectF(0, 9, d, 32), {{0, QColor(0xFF, 0xFF, 0xFF)}, {1, QColor(0xD9, 0xD9, 0xE3)}}));
    painter.drawEllipse(c, 15.5, 15.5);
    // Four arrows: drag in the centre to resize.
    QPen arrow(QColor(0, 150, 152, 120), 1.4);
    arrow.setCapStyle(Qt::RoundCap);
    painter.setPen(arrow);
    for (int i = 0; i < 4; ++i) {
        painter.save();
        painter.translate(c);
        painter.rotate(45 + 90 * i);
        painter.drawLine(QPointF(4, 0), QPointF(10.5, 0));
        painter.drawLine(QPointF(10.5, 0), QPointF(8, -2.5));
        painter.drawLine(QPointF(10.5, 0), QPointF(8, 2.5));
        painter.restore();
    }
    return face;
}

QImage SliderTrack(int nWidth, double dScale)
{
    QImage track = NewSkin(nWidth, 7, dScale, kSidePanel);
    QPainter painter(&track);
    Prepare(painter);
    const QRectF groove(0.5, 1, nWidth - 1, 5);
    painter.setPen(QPen(QColor(0x9C, 0x9B, 0xB0), 1));
    painter.setBrush(VerticalGradient(groove, {{0, QColor(0xB4, 0xB3, 0xC6)}, {1, QColor(0xF2, 0xF2, 0xF7)}}));
    painter.drawRoundedRect(groove, 2.5, 2.5);
    QLinearGradient tint(0, 0, nWidth, 0);
    tint.setColorAt(0, WithAlpha(kAccent, 40));
    tint.setColorAt(1, WithAlpha(kAccent, 150));
    painter.setPen(Qt::NoPen);
    painter.setBrush(tint);
    painter.drawRoundedRect(QRectF(2, 2.5, nWidth - 4, 2), 1, 1);
    return track;
}

QImage SliderThumb(double dScale)
{
    QImage thumb = NewSkin(20, 11, dScale);
    QPainter painter(&thumb);
    Prepare(painter);
    const QRectF body(0.5, 0.5, 19, 10);
    painter.setPen(QPen(QColor(0x00, 0x78, 0x7A), 1));
    painter.setBrush(VerticalGradient(
        body, {{0, QColor(0x5C, 0xE0, 0xDE)}, {0.5, QColor(0x12, 0xB2, 0xB2)}, {1, QColor(0x00, 0x8E, 0x90)}}));
    painter.drawRoundedRect(body, 5, 5);
    painter.setPen(QPen(QColor(255, 255, 255, 190), 1));
    for (double x : {7.5, 10.0, 12.5})
        painter.drawLine(QPointF(x, 3), QPointF(x, 8));
    return thumb;
}

QImage SelectionBackground(double dScale)
{
    QImage back = NewSkin(170, 170, dScale);
    QPainter painter(&back);
    Prepare(painter);
    const QRectF body(1, 1, 168, 168);
    painter.setPen(QPen(kAccent, 2.5));
    painter.setBrush(VerticalGradient(body, {{0, QColor(0xD8, 0xF5, 0xF4)}, {1, QColor(0x9F, 0xE0, 0xDF)}}));
    painter.drawRoundedRect(body.adjusted(0.5, 0.5, -0.5, -0.5), 9, 9);
    painter.setPen(QPen(QColor(255, 255, 255, 170), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(body.adjusted(3, 3, -3, -3), 7, 7);
    return back;
}

} // namespace

const std::vector<ButtonSkin>& ButtonSkins()
{
    static const std::vector<ButtonSkin> kSkins = {
        {QStringLiteral("new.bmp"), 40, 40, SkinFace::Toolbar, QStringLiteral("new"), QString()},
        {QStringLiteral("open.bmp"), 40, 40, SkinFace::Toolbar, QStringLiteral("open"), QString()},
        {QStringLiteral("save.bmp"), 40, 40, SkinFace::Toolbar, QStringLiteral("save"), QString()},
        {QStringLiteral("undo.bmp"), 40, 40, SkinFace::Toolbar, QStringLiteral("undo"), QString()},
        {QStringLiteral("redo.bmp"), 40, 40, SkinFace::Toolbar, QStringLiteral("redo"), QString()},
        {QStringLiteral("preview.bmp"), 40, 40, SkinFace::Toolbar, QStringLiteral("preview"), QString()},
        {QStringLiteral("print.bmp"), 40, 40, SkinFace::Toolbar, QStringLiteral("print"), QString()},
        {QStringLiteral("export.bmp"), 40, 40, SkinFace::Toolbar, QStringLiteral("export"), QString()},
        {QStringLiteral("help.bmp"), 30, 40, SkinFace::Toolbar, QStringLiteral("help"), QString()},
        {QStringLiteral("min.bmp"), 12, 13, SkinFace::TitleGlyph, QStringLiteral("min"), QString()},
        {QStringLiteral("max.bmp"), 12, 13, SkinFace::TitleGlyph, QStringLiteral("max"), QString()},
        {QStringLiteral("close.bmp"), 13, 13, SkinFace::TitleGlyph, QStringLiteral("close"), QString()},
        {QStringLiteral("cate_image.bmp"), 85, 32, SkinFace::WindowTab, QStringLiteral("image"),
            QStringLiteral("Image")},
        {QStringLiteral("cate_text.bmp"), 85, 32, SkinFace::WindowTab, QStringLiteral("text"), QStringLiteral("Text")},
        {QStringLiteral("photo.bmp"), 172, 23, SkinFace::PanelTab, QStringLiteral("photo"), QStringLiteral("Photo")},
        {QStringLiteral("frame.bmp"), 172, 23, SkinFace::PanelTab, QStringLiteral("frame"), QStringLiteral("Frame")},
        {QStringLiteral("clipart.bmp"), 172, 23, SkinFace::PanelTab, QStringLiteral("element"),
            QStringLiteral("Element")},
        {QStringLiteral("mask.bmp"), 172, 23, SkinFace::PanelTab, QStringLiteral("mask"), QStringLiteral("Mask")},
        {QStringLiteral("newtxt.bmp"), 172, 23, SkinFace::PanelTab, QStringLiteral("addtext"),
            QStringLiteral("Add new text")},
        {QStringLiteral("uu.bmp"), 22, 23, SkinFace::FloatButton, QStringLiteral("tofront"), QString()},
        {QStringLiteral("u.bmp"), 22, 23, SkinFace::FloatButton, QStringLiteral("forward"), QString()},
        {QStringLiteral("n.bmp"), 22, 23, SkinFace::FloatButton, QStringLiteral("backward"), QString()},
        {QStringLiteral("nn.bmp"), 22, 23, SkinFace::FloatButton, QStringLiteral("toback"), QString()},
        {QStringLiteral("del.bmp"), 22, 23, SkinFace::FloatButton, QStringLiteral("delete"), QString()},
        {QStringLiteral("dock.bmp"), 17, 17, SkinFace::FloatButton, QStringLiteral("dock"), QString()},
        {QStringLiteral("tb.bmp"), 20, 21, SkinFace::TextButton, QStringLiteral("bold"), QString()},
        {QStringLiteral("ti.bmp"), 20, 21, SkinFace::TextButton, QStringLiteral("italic"), QString()},
        {QStringLiteral("tu.bmp"), 20, 21, SkinFace::TextButton, QStringLiteral("underline"), QString()},
        {QStringLiteral("ts.bmp"), 20, 21, SkinFace::TextButton, QStringLiteral("strike"), QString()},
        {QStringLiteral("tleft.bmp"), 20, 21, SkinFace::TextButton, QStringLiteral("left"), QString()},
        {QStringLiteral("tcenter.bmp"), 20, 21, SkinFace::TextButton, QStringLiteral("center"), QString()},
        {QStringLiteral("tright.bmp"), 20, 21, SkinFace::TextButton, QStringLiteral("right"), QString()},
    };
    return kSkins;
}

void WriteSkins(const QString& strFolder)
{
    QDir().mkpath(strFolder);
    const QDir dir(strFolder);
    // Each picture twice from the same drawing code: at its layout size and, for finer screens, at twice
    // that size under its @2x name.
    for (const double dScale : {1.0, 2.0}) {
        const auto path = [&](const QString& strFile) {
            const QString strPath = dir.filePath(strFile);
            return dScale > 1 ? SkinPath2x(strPath) : strPath;
        };
        for (const ButtonSkin& skin : ButtonSkins())
            Save(SkinStrip(skin, dScale), path(skin.strFile));
        Save(AppIcon(int(std::lround(24 * dScale))), path(QStringLiteral("quillmere_icon.png")));
        Save(Band(500, true, dScale), path(QStringLiteral("xleft.png")));
        Save(Band(8, false, dScale), path(QStringLiteral("xcenter.png")));
        Save(Band(100, false, dScale), path(QStringLiteral("xright.png")));
        Save(Separator(dScale), path(QStringLiteral("xvline.png")));
        Save(DialFace(dScale), path(QStringLiteral("roll.bmp")));
        Save(SliderTrack(170, dScale), path(QStringLiteral("ssize.bmp")));
        Save(SliderTrack(96, dScale), path(QStringLiteral("sshadow.bmp")));
        Save(SliderThumb(dScale), path(QStringLiteral("thum.png")));
        Save(SelectionBackground(dScale), path(QStringLiteral("tempbk.png")));
    }
}

void WriteIcons(const QString& strFolder)
{
    for (const int nSize : kIconSizes) {
        const QString strPath = AppIconPath(strFolder + QLatin1Char('/'), nSize);
        QDir().mkpath(QFileInfo(strPath).path());
        Save(AppIcon(nSize), strPath);
    }
}

} // namespace art
