// assets/: the artwork generator. It draws every picture the program loads from its folder (skins,
// backgrounds, frames, clip-art, masks, template thumbnails) with QPainter and writes it there. The
// output is the same on every run: all randomness comes from fixed seeds. Uses render/ and templates/
// only to render the template thumbnails.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <utility>

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainterPath>
#include <QString>

class QPainter;

namespace art {

// A small deterministic generator (64-bit LCG with an xorshift output), the same on every platform.
class Rng {
public:
    explicit Rng(std::uint64_t nSeed)
        : m_nState(nSeed * 6364136223846793005ULL + 1442695040888963407ULL)
    {
    }
    // Uniform in [0, 1).
    double Next();
    double Range(double dLow, double dHigh) { return dLow + (dHigh - dLow) * Next(); }
    int Below(int n) { return int(Next() * n); }

private:
    std::uint64_t m_nState;
};

// A transparent (or filled) premultiplied ARGB picture.
QImage NewImage(int nWidth, int nHeight, QColor fill = Qt::transparent);
// Sets the drawing quality every generated picture is painted with.
void Prepare(QPainter& painter);

// Three box-blur passes, close to a Gaussian of the given radius; premultiplied colours stay valid.
QImage Blur(const QImage& image, int nRadius);
// The picture over its own soft shadow: the alpha blurred, tinted and moved by the offset.
QImage WithShadow(const QImage& image, QPointF offset, int nRadius, QColor shadow);
// A glow around the picture: its alpha blurred and tinted, drawn under it without offset.
QImage WithGlow(const QImage& image, int nRadius, QColor glow);

QColor Mix(QColor a, QColor b, double t);
QColor WithAlpha(QColor colour, int nAlpha);

// Shapes, all in the coordinates of the box or centre given.
QPainterPath StarPath(QPointF centre, double dOuter, double dInner, int nPoints, double dRotation = -90);
QPainterPath HeartPath(const QRectF& box);
QPainterPath RoundedPath(const QRectF& box, double dRadius);
QPainterPath EllipsePath(const QRectF& box);
QPainterPath CloudPath(const QRectF& box);
QPainterPath ScallopPath(QPointF centre, double dRadius, int nScallops, double dDepth);
QPainterPath ScallopRectPath(const QRectF& box, double dBump);
QPainterPath ArchPath(const QRectF& box);
QPainterPath MaplePath(QPointF centre, double dSize, double dRotation);
QPainterPath LeafPath(QPointF base, double dLength, double dWidth, double dRotation);
QPainterPath EggPath(const QRectF& box);
QPainterPath PetalPath(QPointF centre, double dLength, double dWidth, double dRotation);
// The text's outline with its bounding box centred on the point.
QPainterPath TextPath(const QString& strText, const QFont& font, QPointF centre);

// A vertical gradient through the given (position, colour) stops over the box.
QLinearGradient VerticalGradient(const QRectF& box, std::initializer_list<std::pair<double, QColor>> stops);
// A shiny fill: the base colour lit from the upper left, darker towards the lower right rim.
QBrush GlossBrush(const QRectF& box, QColor base);
// A metallic (gold, silver) band across the box at the given angle.
QBrush MetalBrush(const QRectF& box, QColor base, double dAngle = 60);
// Draws a soft white highlight in the upper part of the box, clipped to the path.
void Highlight(QPainter& painter, const QPainterPath& path, const QRectF& box, double dStrength = 0.55);

// Fonts available on every build machine.
QFont SerifFont(int nPixelSize, bool bBold = true, bool bItalic = true);
QFont SansFont(int nPixelSize, bool bBold = true);

// A six-armed snowflake stroked with the pen width.
void Snowflake(QPainter& painter, QPointF centre, double dRadius, QColor colour, double dWidth, double dRotation = 0);
// A pine tree of stacked, slightly drooping tiers standing on the point.
QPainterPath PineTreePath(QPointF base, double dHeight, double dWidth, int nTiers);
// Scatters confetti: small turned strips and dots in the colours given.
void Confetti(
    QPainter& painter, const QRectF& box, Rng& rng, int nCount, double dSize, std::initializer_list<QColor> colours);
// A string of triangular pennants hanging between two points.
void Bunting(
    QPainter& painter, QPointF from, QPointF to, double dSag, double dFlag, std::initializer_list<QColor> colours);
// Darkens the edges of the picture towards the given colour.
void Vignette(QPainter& painter, const QRectF& box, QColor edge, double dInner = 0.55);

// Sprinkles soft round dots (snow, bokeh, confetti glow) over the box.
void Sprinkle(QPainter& painter, const QRectF& box, Rng& rng, int nCount, double dMinRadius, double dMaxRadius,
    QColor colour, bool bSoft);
// Adds a fine grain (paper, linen) so flat fills do not look plastic.
void Grain(QImage& image, std::uint64_t nSeed, int nStrength);

// Runs job(0) ... job(nCount - 1) on the thread pool. Every job draws and writes its own pictures, so
// the output does not depend on the order the jobs run in.
void Parallel(int nCount, const std::function<void(int)>& job);

// Writes the picture in the format its extension asks for (bmp 24-bit, jpg at quality 90, png with
// alpha); exits with a message when the file cannot be written.
void Save(const QImage& image, const QString& strPath);

} // namespace art
