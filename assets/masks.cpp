// Masks offered by the resource panel: grey pictures whose brightness becomes the photo's opacity.
// The one named with "origin" is plain white and stands for no mask.
#include <cmath>
#include <functional>
#include <numbers>

#include <QPainter>
#include <QRadialGradient>

#include "assets/artkit.h"
#include "assets/resources.h"

namespace art {

namespace {

constexpr int kSide = 600;

// White shape on black, its edge softened by the radius.
QImage ShapeMask(const QPainterPath& shape, int nSoft, QSize size = QSize(kSide, kSide))
{
    QImage mask = NewImage(size.width(), size.height(), Qt::black);
    QPainter p(&mask);
    Prepare(p);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(shape);
    p.end();
    return (nSoft > 0 ? Blur(mask, nSoft) : mask).convertToFormat(QImage::Format_Grayscale8);
}

QImage SoftEdge()
{
    // A rectangle that fades out over its outer tenth on every side.
    QImage mask(kSide, kSide, QImage::Format_Grayscale8);
    for (int y = 0; y < kSide; ++y) {
        uchar* pLine = mask.scanLine(y);
        for (int x = 0; x < kSide; ++x) {
            const double d = std::min({x, y, kSide - 1 - x, kSide - 1 - y}) / (kSide * 0.12);
            const double t = std::clamp(d, 0.0, 1.0);
            pLine[x] = uchar(std::lround(255 * t * t * (3 - 2 * t)));
        }
    }
    return mask;
}

QImage RadialFade()
{
    QImage mask = NewImage(kSide, kSide, Qt::black);
    QPainter p(&mask);
    QRadialGradient gradient(QPointF(kSide / 2.0, kSide / 2.0), kSide * 0.5);
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(0.55, Qt::white);
    gradient.setColorAt(1, Qt::black);
    p.fillRect(mask.rect(), gradient);
    p.end();
    return mask.convertToFormat(QImage::Format_Grayscale8);
}

// A ragged, painterly edge like a brush stroke.
QImage Brush()
{
    Rng rng(404);
    QPainterPath shape;
    const QPointF c(kSide / 2.0, kSide / 2.0);
    const int n = 90;
    for (int i = 0; i <= n; ++i) {
        const double a = 2 * std::numbers::pi * i / n;
        const double r = kSide * 0.42 * (1 + 0.05 * std::sin(a * 7) + rng.Range(-0.035, 0.035));
        const QPointF p = c + QPointF(std::cos(a) * r * 1.05, std::sin(a) * r * 0.92);
        if (i == 0)
            shape.moveTo(p);
        else
            shape.lineTo(p);
    }
    shape.closeSubpath();
    QImage mask = NewImage(kSide, kSide, Qt::black);
    QPainter p(&mask);
    Prepare(p);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(shape);
    // Streaks leaving the edge.
    for (int i = 0; i < 40; ++i) {
        const double a = rng.Range(0, 2 * std::numbers::pi);
        const QPointF from = c + QPointF(std::cos(a), std::sin(a)) * kSide * 0.36;
        const QPointF to = c + QPointF(std::cos(a), std::sin(a)) * kSide * rng.Range(0.44, 0.49);
        p.setPen(QPen(QColor(255, 255, 255, int(rng.Range(120, 255))), rng.Range(3, 9), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(from, to);
    }
    p.end();
    return Blur(mask, 3).convertToFormat(QImage::Format_Grayscale8);
}

QImage Origin()
{
    QImage mask(kSide, kSide, QImage::Format_Grayscale8);
    mask.fill(255);
    return mask;
}

struct MaskDef {
    const char* szName;
    std::function<QImage()> draw;
};

} // namespace

void WriteMasks(const QDir& dir, Resources& resources)
{
    const QRectF full(0, 0, kSide, kSide);
    const QPointF c(kSide / 2.0, kSide / 2.0);
    const MaskDef kMasks[] = {
        {"mask_origin.png", Origin},
        {"mask_oval.png", [&] { return ShapeMask(EllipsePath(full.adjusted(60, 20, -60, -20)), 10); }},
        {"mask_circle.png", [&] { return ShapeMask(EllipsePath(full.adjusted(24, 24, -24, -24)), 6); }},
        {"mask_heart.png", [&] { return ShapeMask(HeartPath(full.adjusted(30, 50, -30, -30)), 6); }},
        {"mask_star.png", [&] { return ShapeMask(StarPath(c + QPointF(0, 24), 290, 140, 5), 4); }},
        {"mask_cloud.png", [&] { return ShapeMask(CloudPath(full.adjusted(0, 40, 0, -20)), 8); }},
        {"mask_softedge.png", SoftEdge},
        {"mask_vignette.png", RadialFade},
        {"mask_rounded.png", [&] { return ShapeMask(RoundedPath(full.adjusted(20, 20, -20, -20), 80), 4); }},
        {"mask_diamond.png",
            [&] {
                QPainterPath diamond;
                diamond.moveTo(c.x(), 20);
                diamond.lineTo(kSide - 20, c.y());
                diamond.lineTo(c.x(), kSide - 20);
                diamond.lineTo(20, c.y());
                diamond.closeSubpath();
                return ShapeMask(diamond, 4);
            }},
        {"mask_hexagon.png",
            [&] {
                QPainterPath hexagon;
                for (int i = 0; i < 6; ++i) {
                    const double a = std::numbers::pi / 3 * i;
                    const QPointF p = c + QPointF(std::cos(a), std::sin(a)) * 280;
                    if (i == 0)
                        hexagon.moveTo(p);
                    else
                        hexagon.lineTo(p);
                }
                hexagon.closeSubpath();
                return ShapeMask(hexagon, 4);
            }},
        {"mask_scallop.png", [&] { return ShapeMask(ScallopPath(c, 285, 18, 30), 3); }},
        {"mask_arch.png", [&] { return ShapeMask(ArchPath(full.adjusted(70, 20, -70, -20)), 4); }},
        {"mask_brush.png", Brush},
    };
    for (const MaskDef& mask : kMasks)
        resources.masks[QString::fromLatin1(mask.szName)] = QSize(kSide, kSide);
    Parallel(int(std::size(kMasks)),
        [&](int i) { Save(kMasks[i].draw(), dir.filePath(QString::fromLatin1(kMasks[i].szName))); });
}

} // namespace art
