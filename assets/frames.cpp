// Photo frames: a PNG whose window is transparent, and beside it the frame mask (same name, jpg):
// white where the photo shows through, black elsewhere, soft at the window's edge.
#include <cmath>
#include <functional>
#include <numbers>

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include "assets/artkit.h"
#include "assets/resources.h"

namespace art {

namespace {

// Room around every frame for its shadow.
constexpr double kMargin = 22;

const QColor kGold(0xD4, 0xA4, 0x3C);
const QColor kSilver(0xB8, 0xBC, 0xC4);

struct FrameArt {
    QImage image; // the frame, transparent in the window
    QPainterPath window; // where the photo shows through
};

// Fills the frame body (outer minus window) and gives it a bevel: a light outer edge, a dark inner lip
// and a soft shadow that the frame casts onto the photo.
void Body(QPainter& painter, const QPainterPath& outer, const QPainterPath& window, const QBrush& fill, double dBevel)
{
    const QPainterPath body = outer.subtracted(window);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(body);
    painter.setClipPath(body);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, 120), dBevel));
    painter.drawPath(outer.translated(dBevel * 0.25, dBevel * 0.25));
    painter.setPen(QPen(QColor(0, 0, 0, 70), dBevel));
    painter.drawPath(outer.translated(-dBevel * 0.25, -dBevel * 0.25));
    painter.setPen(QPen(QColor(0, 0, 0, 90), dBevel * 0.9));
    painter.drawPath(window.translated(dBevel * 0.2, dBevel * 0.2));
    painter.setPen(QPen(QColor(255, 255, 255, 110), dBevel * 0.6));
    painter.drawPath(window.translated(-dBevel * 0.2, -dBevel * 0.2));
    painter.restore();
}

// The shadow the frame's inner edge casts onto the photo, inside the window.
void InnerShadow(QPainter& painter, const QPainterPath& window, double dWidth, int nAlpha)
{
    painter.save();
    painter.setClipPath(window);
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
        painter.setPen(QPen(QColor(0, 0, 0, nAlpha / (i + 2)), dWidth * (4 - i) / 2.0));
        painter.drawPath(window.translated(dWidth * 0.15, dWidth * 0.25));
    }
    painter.restore();
}

// Beads along a path, like the pearl row of a gilded frame.
void Beads(QPainter& painter, const QPainterPath& path, double dRadius, QColor colour)
{
    const double dLength = path.length();
    const int n = int(dLength / (dRadius * 2.6));
    painter.save();
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < n; ++i) {
        const QPointF p = path.pointAtPercent(path.percentAtLength(dLength * i / n));
        painter.setBrush(GlossBrush(QRectF(p - QPointF(dRadius, dRadius), QSizeF(2 * dRadius, 2 * dRadius)), colour));
        painter.drawEllipse(p, dRadius, dRadius);
    }
    painter.restore();
}

// A path halfway between two nested rectangles, rounded like them.
QPainterPath MidRect(const QRectF& outer, const QRectF& inner, double dRadius)
{
    return RoundedPath(
        QRectF((outer.topLeft() + inner.topLeft()) / 2, (outer.bottomRight() + inner.bottomRight()) / 2), dRadius);
}

FrameArt Finish(QImage image, const QPainterPath& window, double dShadow = 10)
{
    return {WithShadow(image, QPointF(dShadow * 0.4, dShadow * 0.7), int(dShadow), QColor(0, 0, 0, 110)), window};
}

QImage Canvas(QSize size)
{
    return NewImage(size.width(), size.height());
}

FrameArt GoldRect(QSize size)
{
    QImage image = Canvas(size);
    QPainter p(&image);
    Prepare(p);
    const QRectF outer = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(kMargin, kMargin, -kMargin, -kMargin);
    const QRectF inner = outer.adjusted(74, 74, -74, -74);
    const QPainterPath window = RoundedPath(inner, 2);
    Body(p, RoundedPath(outer, 4), window, MetalBrush(outer, kGold, 35), 10);
    // A darker cove and a row of pearls.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x7A, 0x52, 0x10, 120), 10));
    p.drawPath(MidRect(outer, inner, 3).translated(2, 2));
    p.setPen(QPen(MetalBrush(outer, Mix(kGold, Qt::white, 0.2), 120), 8));
    p.drawPath(MidRect(outer, inner, 3));
    Beads(p, MidRect(outer.adjusted(6, 6, -6, -6), inner.adjusted(-40, -40, 40, 40), 2), 5.5, kGold);
    // A cream liner next to the picture.
    QPainterPath liner = RoundedPath(inner.adjusted(-14, -14, 14, 14), 2).subtracted(window);
    p.setPen(Qt::NoPen);
    p.setBrush(VerticalGradient(inner, {{0, QColor(0xFB, 0xF3, 0xDE)}, {1, QColor(0xE8, 0xD8, 0xB4)}}));
    p.drawPath(liner);
    InnerShadow(p, window, 8, 130);
    p.end();
    return Finish(image, window);
}

FrameArt RoundedWhite(QSize size)
{
    QImage image = Canvas(size);
    QPainter p(&image);
    Prepare(p);
    const QRectF outer = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(kMargin, kMargin, -kMargin, -kMargin);
    const QRectF inner = outer.adjusted(44, 44, -44, -44);
    const QPainterPath window = RoundedPath(inner, 26);
    Body(p, RoundedPath(outer, 44), window,
        VerticalGradient(outer, {{0, QColor(0xFF, 0xFF, 0xFF)}, {1, QColor(0xEE, 0xEE, 0xF2)}}), 4);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xC8, 0xC8, 0xD2), 2));
    p.drawPath(RoundedPath(inner.adjusted(-14, -14, 14, 14), 36));
    InnerShadow(p, window, 8, 110);
    p.end();
    return Finish(image, window, 12);
}

FrameArt GoldOval(QSize size)
{
    QImage image = Canvas(size);
    QPainter p(&image);
    Prepare(p);
    const QRectF outer = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(kMargin, kMargin, -kMargin, -kMargin);
    const QRectF inner = outer.adjusted(66, 66, -66, -66);
    const QPainterPath window = EllipsePath(inner);
    Body(p, EllipsePath(outer), window, MetalBrush(outer, kGold, 70), 9);
    // A twisted rope band between two beads rows.
    const QRectF mid((outer.topLeft() + inner.topLeft()) / 2, (outer.bottomRight() + inner.bottomRight()) / 2);
    const QPainterPath midPath = EllipsePath(mid);
    const double dLength = midPath.length();
    const int nTwists = int(dLength / 18);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < nTwists; ++i) {
        const double t = midPath.percentAtLength(dLength * i / nTwists);
        const QPointF c = midPath.pointAtPercent(t);
        p.save();
        p.translate(c);
        p.rotate(-midPath.angleAtPercent(t) + 35);
        p.setBrush(VerticalGradient(QRectF(-12, -5, 24, 10),
            {{0, Mix(kGold, Qt::white, 0.55)}, {0.5, kGold}, {1, Mix(kGold, Qt::black, 0.45)}}));
        p.drawRoundedRect(QRectF(-13, -5, 26, 10), 5, 5);
        p.restore();
    }
    Beads(p, EllipsePath(outer.adjusted(12, 12, -12, -12)), 5, Mix(kGold, Qt::white, 0.15));
    Beads(p, EllipsePath(inner.adjusted(-12, -12, 12, 12)), 4, Mix(kGold, Qt::white, 0.15));
    InnerShadow(p, window, 8, 130);
    p.end();
    return Finish(image, window);
}

FrameArt Wreath(QSize size)
{
    QImage image = Canvas(size);
    QPainter p(&image);
    Prepare(p);
    const QPointF c(size.width() / 2.0, size.height() / 2.0);
    const double rOuter = size.width() / 2.0 - kMargin - 24;
    const double rInner = rOuter * 0.66;
    const QPainterPath window = EllipsePath(QRectF(c - QPointF(rInner, rInner), QSizeF(2 * rInner, 2 * rInner)));
    Rng rng(77);
    // A dark base ring, then layers of needles from dark to light.
    QPainterPath ring
        = EllipsePath(QRectF(c - QPointF(rOuter - 12, rOuter - 12), QSizeF(2 * (rOuter - 12), 2 * (rOuter - 12))))
              .subtracted(
                  EllipsePath(QRectF(c - QPointF(rInner + 6, rInner + 6), QSizeF(2 * (rInner + 6), 2 * (rInner + 6)))));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x12, 0x3A, 0x22));
    p.drawPath(ring);
    // Needles stop at the window's edge, so the wreath does not reach over the photo.
    QPainterPath outside;
    outside.addRect(QRectF(QPointF(0, 0), QSizeF(size)));
    p.save();
    p.setClipPath(outside.subtracted(window));
    const QColor needles[]
        = {QColor(0x1A, 0x4D, 0x2E), QColor(0x25, 0x66, 0x3A), QColor(0x38, 0x80, 0x4A), QColor(0x5A, 0x9E, 0x5E)};
    for (int layer = 0; layer < 4; ++layer) {
        for (int i = 0; i < 900; ++i) {
            const double a = rng.Range(0, 2 * std::numbers::pi);
            const double r = rng.Range(rInner + 4, rOuter - 4);
            const QPointF base = c + QPointF(std::cos(a), std::sin(a)) * r;
            const double dir = a * 180 / std::numbers::pi + 90 + rng.Range(-50, 50);
            const double len = rng.Range(26, 44);
            const double rad = dir * std::numbers::pi / 180;
            p.setPen(QPen(needles[layer], rng.Range(2.2, 3.6), Qt::SolidLine, Qt::RoundCap));
            p.drawLine(base, base + QPointF(std::cos(rad), std::sin(rad)) * len);
        }
    }
    p.restore();
    // Berries and pine cones.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 9; ++i) {
        const double a = i * 2 * std::numbers::pi / 9 + 0.3;
        const QPointF cone = c + QPointF(std::cos(a), std::sin(a)) * (rInner + rOuter) / 2;
        p.save();
        p.translate(cone);
        p.rotate(a * 180 / std::numbers::pi);
        p.setBrush(GlossBrush(QRectF(-22, -13, 44, 26), QColor(0x7A, 0x4A, 0x22)));
        p.drawEllipse(QRectF(-24, -14, 48, 28));
        p.setPen(QPen(QColor(0x4A, 0x2A, 0x10), 2));
        for (int k = -2; k <= 2; ++k)
            p.drawLine(QPointF(k * 8, -11), QPointF(k * 8 + 4, 11));
        p.restore();
        for (int k = 0; k < 3; ++k) {
            const double b = a + 0.28 + k * 0.05;
            const QPointF berry = c + QPointF(std::cos(b), std::sin(b)) * ((rInner + rOuter) / 2 + (k - 1) * 18);
            p.setBrush(GlossBrush(QRectF(berry - QPointF(11, 11), QSizeF(22, 22)), QColor(0xC8, 0x14, 0x24)));
            p.drawEllipse(berry, 11, 11);
        }
    }
    // A red bow at the bottom.
    const QPointF knot = c + QPointF(0, rOuter * 0.8);
    const QColor ribbon(0xC4, 0x1A, 0x2A);
    for (int side : {-1, 1}) {
        QPainterPath tail;
        tail.moveTo(knot);
        tail.cubicTo(knot + QPointF(side * 14, 30), knot + QPointF(side * 30, 50), knot + QPointF(side * 46, 78));
        tail.lineTo(knot + QPointF(side * 30, 70));
        tail.lineTo(knot + QPointF(side * 22, 84));
        tail.cubicTo(knot + QPointF(side * 14, 50), knot + QPointF(side * 4, 30), knot);
        p.setBrush(VerticalGradient(tail.boundingRect(), {{0, ribbon}, {1, Mix(ribbon, Qt::black, 0.3)}}));
        p.drawPath(tail);
        QPainterPath loop;
        loop.moveTo(knot);
        loop.cubicTo(knot + QPointF(side * 30, -62), knot + QPointF(side * 96, -56), knot + QPointF(side * 86, -8));
        loop.cubicTo(knot + QPointF(side * 80, 22), knot + QPointF(side * 36, 14), knot);
        p.setBrush(GlossBrush(loop.boundingRect(), ribbon));
        p.drawPath(loop);
        QPainterPath fold;
        fold.moveTo(knot);
        fold.cubicTo(knot + QPointF(side * 26, -30), knot + QPointF(side * 56, -28), knot + QPointF(side * 60, -10));
        fold.cubicTo(knot + QPointF(side * 46, -2), knot + QPointF(side * 24, 0), knot);
        p.setBrush(QColor(0x70, 0x06, 0x10, 150));
        p.drawPath(fold);
    }
    p.setBrush(GlossBrush(QRectF(knot - QPointF(17, 16), QSizeF(34, 32)), ribbon));
    p.drawRoundedRect(QRectF(knot - QPointF(17, 16), QSizeF(34, 32)), 9, 9);
    InnerShadow(p, window, 10, 140);
    p.end();
    return Finish(image, window, 12);
}

FrameArt RedHeart(QSize size)
{
    QImage image = Canvas(size);
    QPainter p(&image);
    Prepare(p);
    const QRectF outer
        = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(kMargin + 10, kMargin + 14, -kMargin - 10, -kMargin);
    const QRectF inner(outer.center().x() - outer.width() * 0.36, outer.top() + outer.height() * 0.17,
        outer.width() * 0.72, outer.height() * 0.68);
    const QPainterPath window = HeartPath(inner);
    const QPainterPath heart = HeartPath(outer);
    Body(p, heart, window, GlossBrush(outer, QColor(0xD0, 0x1C, 0x44)), 8);
    // Stitching along the middle of the band.
    const QRectF mid(outer.center().x() - outer.width() * 0.43, outer.top() + outer.height() * 0.085,
        outer.width() * 0.86, outer.height() * 0.835);
    QPen stitch(QColor(255, 255, 255, 210), 4, Qt::DashLine, Qt::RoundCap);
    stitch.setDashPattern({2.5, 2.5});
    p.setPen(stitch);
    p.setBrush(Qt::NoBrush);
    p.drawPath(HeartPath(mid));
    Highlight(p, heart.subtracted(window), outer, 0.35);
    InnerShadow(p, window, 8, 140);
    p.end();
    return Finish(image, window);
}

FrameArt GoldStar(QSize size)
{
    QImage image = Canvas(size);
    QPainter p(&image);
    Prepare(p);
    const QPointF c(size.width() / 2.0, size.height() / 2.0 + 16);
    const double r = size.width() / 2.0 - kMargin - 4;
    QPainterPath outer = StarPath(c, r, r * 0.56, 5);
    QPainterPathStroker rounder;
    rounder.setWidth(28);
    rounder.setJoinStyle(Qt::RoundJoin);
    outer = outer.united(rounder.createStroke(outer)).simplified();
    const QPainterPath window = StarPath(c, r * 0.74, r * 0.41, 5);
    Body(
        p, outer, window, MetalBrush(QRectF(c - QPointF(r, r), QSizeF(2 * r, 2 * r)), QColor(0xE0, 0xB0, 0x40), 50), 8);
    p.setPen(QPen(QColor(0xFF, 0xF2, 0xC0, 180), 3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(StarPath(c, r * 0.88, r * 0.49, 5));
    InnerShadow(p, window, 8, 130);
    p.end();
    return Finish(image, window);
}

FrameArt IvoryArch(QSize size)
{
    QImage image = Canvas(size);
    QPainter p(&image);
    Prepare(p);
    const QRectF outer = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(kMargin, kMargin, -kMargin, -kMargin);
    const QRectF inner = outer.adjusted(52, 52, -52, -52);
    const QPainterPath window = ArchPath(inner);
    Body(p, ArchPath(outer), window,
        VerticalGradient(outer, {{0, QColor(0xFF, 0xFC, 0xF2)}, {1, QColor(0xEF, 0xE4, 0xCC)}}), 5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(MetalBrush(outer, kGold, 60), 5));
    p.drawPath(ArchPath(outer.adjusted(16, 16, -16, -16)));
    p.setPen(QPen(MetalBrush(outer, kGold, 60), 2.5));
    p.drawPath(ArchPath(inner.adjusted(-14, -14, 14, 14)));
    // A keystone rosette at the top.
    const QPointF top(outer.center().x(), outer.top() + 26);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 8; ++i) {
        p.setBrush(MetalBrush(QRectF(top - QPointF(30, 30), QSizeF(60, 60)), kGold, 40));
        p.drawPath(PetalPath(top, 28, 14, i * 45));
    }
    p.setBrush(GlossBrush(QRectF(top - QPointF(9, 9), QSizeF(18, 18)), QColor(0xF4, 0xE8, 0xD8)));
    p.drawEllipse(top, 9, 9);
    InnerShadow(p, window, 7, 110);
    p.end();
    return Finish(image, window);
}

FrameArt PastelScallop(QSize size)
{
    QImage image = Canvas(size);
    QPainter p(&image);
    Prepare(p);
    const QPointF c(size.width() / 2.0, size.height() / 2.0);
    const double r = size.width() / 2.0 - kMargin - 4;
    const QPainterPath outer = ScallopPath(c, r, 22, 26);
    const double ri = r * 0.72;
    const QPainterPath window = EllipsePath(QRectF(c - QPointF(ri, ri), QSizeF(2 * ri, 2 * ri)));
    Body(p, outer, window, GlossBrush(QRectF(c - QPointF(r, r), QSizeF(2 * r, 2 * r)), QColor(0xF6, 0xB8, 0xCC)), 5);
    // Eyelet holes and a stitched ring, like lace.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 22; ++i) {
        const double a = 2 * std::numbers::pi * i / 22;
        const QPointF h = c + QPointF(std::cos(a), std::sin(a)) * (r - 30);
        p.setBrush(QColor(255, 255, 255, 230));
        p.drawEllipse(h, 7, 7);
    }
    QPen stitch(QColor(255, 255, 255, 220), 3, Qt::DashLine, Qt::RoundCap);
    stitch.setDashPattern({3, 2.5});
    p.setPen(stitch);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, ri + 22, ri + 22);
    InnerShadow(p, window, 7, 110);
    p.end();
    return Finish(image, window);
}

FrameArt DoubleSilver(QSize size)
{
    QImage image = Canvas(size);
    QPainter p(&image);
    Prepare(p);
    const QRectF outer = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(kMargin, kMargin, -kMargin, -kMargin);
    const QRectF gapOuter = outer.adjusted(30, 30, -30, -30);
    const QRectF gapInner = gapOuter.adjusted(16, 16, -16, -16);
    const QRectF inner = gapInner.adjusted(20, 20, -20, -20);
    const QPainterPath window = RoundedPath(inner, 3);
    Body(p, RoundedPath(outer, 6), RoundedPath(gapOuter, 4), MetalBrush(outer, kSilver, 40), 6);
    Body(p, RoundedPath(gapInner, 4), window, MetalBrush(outer, kSilver, 130), 5);
    p.setPen(QPen(QColor(255, 255, 255, 150), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(RoundedPath(outer.adjusted(14, 14, -14, -14), 4));
    InnerShadow(p, window, 7, 120);
    p.end();
    return Finish(image, window);
}

// A raised ornament: drawn on its own layer and given a small shadow before it joins the frame.
template <typename Paint> void Raised(QPainter& painter, QSize size, Paint paint)
{
    QImage layer = NewImage(size.width(), size.height());
    QPainter p(&layer);
    Prepare(p);
    paint(p);
    p.end();
    painter.drawImage(0, 0, WithShadow(layer, QPointF(2, 3), 4, QColor(0, 0, 0, 120)));
}

// A fan of petals opening in the direction given (degrees, 0 = up), with a ball at its root.
void Fan(QPainter& p, QPointF root, double dDirection, double dLength, int nPetals, double dSpread, const QBrush& fill,
    QColor ball)
{
    p.setPen(QPen(QColor(0x6A, 0x48, 0x10, 150), 1.2));
    p.setBrush(fill);
    for (int k = 0; k < nPetals; ++k) {
        const double a = dDirection - dSpread / 2 + dSpread * k / (nPetals - 1);
        const double l = dLength * (1 - 0.25 * std::abs(k - (nPetals - 1) / 2.0) / ((nPetals - 1) / 2.0));
        p.drawPath(PetalPath(root, l, l * 0.3, a));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(GlossBrush(QRectF(root - QPointF(11, 11), QSizeF(22, 22)), ball));
    p.drawEllipse(root, 11, 11);
}

FrameArt Baroque(QSize size)
{
    QImage image = Canvas(size);
    QPainter p(&image);
    Prepare(p);
    const QRectF full = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(kMargin, kMargin, -kMargin, -kMargin);
    const QRectF outer = full.adjusted(4, 34, -4, -34);
    const QRectF inner = outer.adjusted(76, 76, -76, -76);
    const QPainterPath window = RoundedPath(inner, 2);
    const QColor gold(0xC9, 0x96, 0x32);
    const QBrush metal = MetalBrush(full, gold, 40);
    Body(p, RoundedPath(outer, 4), window, metal, 8);
    // A sunken cove with a pearl row, and a bright lip next to the picture.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x6A, 0x44, 0x08, 110), 14));
    p.drawPath(MidRect(outer, inner, 2).translated(1.5, 1.5));
    p.setPen(QPen(MetalBrush(outer, Mix(gold, Qt::white, 0.25), 140), 10));
    p.drawPath(MidRect(outer, inner, 2));
    Beads(p, MidRect(outer, inner, 2), 4, Mix(gold, Qt::white, 0.2));
    Beads(p, RoundedPath(inner.adjusted(-9, -9, 9, 9), 2), 3, Mix(gold, Qt::white, 0.15));
    const QBrush leaf = MetalBrush(full, Mix(gold, Qt::white, 0.15), 120);
    Raised(p, size, [&](QPainter& o) {
        // Acanthus fans in the corners, opening towards the outer corner.
        const QPointF corners[] = {outer.topLeft(), outer.topRight(), outer.bottomRight(), outer.bottomLeft()};
        const double directions[] = {-45, 45, 135, -135};
        for (int i = 0; i < 4; ++i) {
            const QPointF inward((i == 1 || i == 2) ? -1 : 1, i >= 2 ? -1 : 1);
            Fan(o, corners[i] + inward * 40, directions[i], 56, 5, 110, leaf, gold);
        }
        // Shell crests in the middle of the long sides, rising over the edge, and rosettes on the short sides.
        Fan(o, QPointF(outer.center().x(), outer.top() + 26), 0, 64, 9, 150, leaf, gold);
        Fan(o, QPointF(outer.center().x(), outer.bottom() - 26), 180, 64, 9, 150, leaf, gold);
        for (double x : {outer.left() + 38, outer.right() - 38}) {
            const QPointF c(x, outer.center().y());
            o.setPen(QPen(QColor(0x6A, 0x48, 0x10, 150), 1.2));
            o.setBrush(leaf);
            for (int k = 0; k < 8; ++k)
                o.drawPath(PetalPath(c, 26, 10, k * 45));
            o.setPen(Qt::NoPen);
            o.setBrush(GlossBrush(QRectF(c - QPointF(9, 9), QSizeF(18, 18)), gold));
            o.drawEllipse(c, 9, 9);
        }
    });
    InnerShadow(p, window, 8, 130);
    p.end();
    return Finish(image, window);
}

FrameArt Polaroid(QSize size)
{
    QImage image = Canvas(size);
    QPainter p(&image);
    Prepare(p);
    const QRectF outer = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(kMargin, kMargin, -kMargin, -kMargin);
    const double side = outer.width() - 2 * 34;
    const QRectF inner(outer.left() + 34, outer.top() + 34, side, side);
    const QPainterPath window = RoundedPath(inner, 1);
    Body(p, RoundedPath(outer, 3), window,
        VerticalGradient(outer, {{0, QColor(0xFF, 0xFE, 0xFA)}, {1, QColor(0xF1, 0xEE, 0xE6)}}), 3);
    InnerShadow(p, window, 6, 140);
    p.end();
    QImage grained = image;
    Grain(grained, 5, 3);
    return Finish(grained, window, 14);
}

FrameArt Stamp(QSize size)
{
    QImage image = Canvas(size);
    QPainter p(&image);
    Prepare(p);
    const QRectF outer = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(kMargin, kMargin, -kMargin, -kMargin);
    // Perforations: half circles bitten out of every edge.
    QPainterPath paper = RoundedPath(outer, 2);
    const double dHole = 11;
    auto perforate = [&](QPointF from, QPointF to) {
        const double dLength = std::hypot(to.x() - from.x(), to.y() - from.y());
        const int n = int(dLength / (dHole * 2.8));
        for (int i = 0; i <= n; ++i)
            paper = paper.subtracted(EllipsePath(
                QRectF(from + (to - from) * (double(i) / n) - QPointF(dHole, dHole), QSizeF(2 * dHole, 2 * dHole))));
    };
    perforate(outer.topLeft(), outer.topRight());
    perforate(outer.topRight(), outer.bottomRight());
    perforate(outer.bottomRight(), outer.bottomLeft());
    perforate(outer.bottomLeft(), outer.topLeft());
    const QRectF inner = outer.adjusted(50, 50, -50, -50);
    const QPainterPath window = RoundedPath(inner, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(VerticalGradient(outer, {{0, QColor(0xFF, 0xFD, 0xF6)}, {1, QColor(0xF2, 0xEC, 0xDE)}}));
    p.drawPath(paper.subtracted(window));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xB8, 0x3A, 0x3A), 4));
    p.drawRect(inner.adjusted(-14, -14, 14, 14));
    // A postmark of wavy lines over one corner.
    p.setPen(QPen(QColor(0x3A, 0x3A, 0x52, 90), 3));
    for (int k = 0; k < 4; ++k) {
        QPainterPath wave;
        const double y = outer.top() + 30 + k * 16;
        wave.moveTo(outer.right() - 230, y);
        for (int i = 0; i < 6; ++i)
            wave.quadTo(outer.right() - 230 + i * 40 + 10, y + (i % 2 ? 8 : -8), outer.right() - 230 + i * 40 + 20, y);
        p.drawPath(wave);
    }
    p.drawEllipse(QPointF(outer.right() - 70, outer.top() + 54), 42, 42);
    InnerShadow(p, window, 6, 120);
    p.end();
    return Finish(image, window, 10);
}

// The frame mask: the window (grown a little so that the photo runs under the frame's inner edge)
// in white on black, softened.
QImage FrameMask(QSize size, const QPainterPath& window)
{
    QImage mask = NewImage(size.width(), size.height(), Qt::black);
    QPainter p(&mask);
    Prepare(p);
    QPainterPathStroker grow;
    grow.setWidth(8);
    grow.setJoinStyle(Qt::RoundJoin);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(window.united(grow.createStroke(window)));
    p.end();
    return Blur(mask, 4).convertToFormat(QImage::Format_Grayscale8);
}

struct FrameDef {
    const char* szName;
    QSize size;
    std::function<FrameArt(QSize)> draw;
};

} // namespace

void WriteFrames(const QDir& dir, Resources& resources)
{
    const FrameDef kFrames[] = {
        {"rect_gold.png", QSize(800, 600), GoldRect},
        {"rounded_white.png", QSize(800, 600), RoundedWhite},
        {"oval_gold.png", QSize(600, 760), GoldOval},
        {"circle_wreath.png", QSize(720, 720), Wreath},
        {"heart_red.png", QSize(700, 640), RedHeart},
        {"star_gold.png", QSize(700, 700), GoldStar},
        {"arch_ivory.png", QSize(600, 800), IvoryArch},
        {"scallop_pastel.png", QSize(700, 700), PastelScallop},
        {"double_silver.png", QSize(800, 600), DoubleSilver},
        {"ornate_baroque.png", QSize(800, 600), Baroque},
        {"polaroid.png", QSize(560, 660), Polaroid},
        {"stamp.png", QSize(760, 600), Stamp},
    };
    for (const FrameDef& frame : kFrames)
        resources.frames[QString::fromLatin1(frame.szName)] = frame.size;
    Parallel(int(std::size(kFrames)), [&](int i) {
        const FrameDef& frame = kFrames[i];
        const FrameArt art = frame.draw(frame.size);
        const QString strName = QString::fromLatin1(frame.szName);
        Save(art.image, dir.filePath(strName));
        Save(
            FrameMask(frame.size, art.window), dir.filePath(strName.left(strName.length() - 3) + QLatin1String("jpg")));
    });
}

} // namespace art
