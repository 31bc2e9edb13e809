// Card backgrounds: landscape scenes, and portrait and square cards that keep their top 300 pixels for
// the greeting a template writes there as an editable text (its sprites stay below it). No background
// carries lettering.
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

constexpr QSize kLandscape(1500, 1000);
constexpr QSize kPortrait(1000, 1400);
constexpr QSize kSquare(1200, 1200);

using Painter = std::function<void(QPainter&, const QRectF&, Rng&)>;

void FillVertical(QPainter& painter, const QRectF& box, std::initializer_list<std::pair<double, QColor>> stops)
{
    painter.fillRect(box, VerticalGradient(box, stops));
}

void FillRadial(QPainter& painter, const QRectF& box, QPointF centre, QColor inner, QColor outer)
{
    QRadialGradient gradient(centre, std::hypot(box.width(), box.height()) * 0.62);
    gradient.setColorAt(0, inner);
    gradient.setColorAt(1, outer);
    painter.fillRect(box, gradient);
}

// Two thin lines inset from the edge, the classic card border.
void DoubleBorder(QPainter& painter, const QRectF& box, double dInset, QColor colour)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colour, 5));
    painter.drawRect(box.adjusted(dInset, dInset, -dInset, -dInset));
    painter.setPen(QPen(colour, 1.8));
    painter.drawRect(box.adjusted(dInset + 14, dInset + 14, -dInset - 14, -dInset - 14));
    painter.restore();
}

// A small flourish under a greeting: a line with a diamond in the middle.
void Flourish(QPainter& painter, QPointF centre, double dHalf, QColor colour)
{
    painter.save();
    QLinearGradient line(centre.x() - dHalf, 0, centre.x() + dHalf, 0);
    line.setColorAt(0, WithAlpha(colour, 0));
    line.setColorAt(0.5, colour);
    line.setColorAt(1, WithAlpha(colour, 0));
    painter.setPen(QPen(QBrush(line), 3));
    painter.drawLine(QPointF(centre.x() - dHalf, centre.y()), QPointF(centre.x() + dHalf, centre.y()));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    QPainterPath diamond;
    diamond.moveTo(centre + QPointF(0, -11));
    diamond.lineTo(centre + QPointF(16, 0));
    diamond.lineTo(centre + QPointF(0, 11));
    diamond.lineTo(centre + QPointF(-16, 0));
    diamond.closeSubpath();
    painter.drawPath(diamond);
    painter.restore();
}

// A rolling hill filled with a vertical gradient, its crest a smooth wave.
void Hill(QPainter& painter, const QRectF& box, double yCrest, double dAmplitude, double dPhase, double dWaves,
    QColor top, QColor bottom)
{
    QPainterPath hill;
    hill.moveTo(box.left(), box.bottom());
    for (int i = 0; i <= 60; ++i) {
        const double x = box.left() + box.width() * i / 60.0;
        const double y = yCrest + dAmplitude * std::sin(dPhase + dWaves * std::numbers::pi * i / 60.0);
        hill.lineTo(x, y);
    }
    hill.lineTo(box.right(), box.bottom());
    hill.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(VerticalGradient(
        QRectF(0, yCrest - dAmplitude, 10, box.bottom() - yCrest + dAmplitude), {{0, top}, {1, bottom}}));
    painter.drawPath(hill);
}

void Stars(QPainter& painter, const QRectF& box, Rng& rng, int nCount, QColor colour)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < nCount; ++i) {
        const QPointF p(rng.Range(box.left(), box.right()), rng.Range(box.top(), box.bottom()));
        const double r = rng.Range(0.8, 2.4);
        painter.setBrush(WithAlpha(colour, int(rng.Range(90, 255))));
        painter.drawEllipse(p, r, r);
        if (r > 2.1) {
            painter.setBrush(WithAlpha(colour, 60));
            painter.drawPath(StarPath(p, r * 4, r * 0.6, 4, 0));
        }
    }
    painter.restore();
}

// A glow of light: a radial gradient from the colour to nothing.
void Glow(QPainter& painter, QPointF centre, double dRadius, QColor colour)
{
    QRadialGradient gradient(centre, dRadius);
    gradient.setColorAt(0, colour);
    gradient.setColorAt(1, WithAlpha(colour, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawEllipse(centre, dRadius, dRadius);
}

void ScatterHearts(QPainter& painter, const QRectF& box, Rng& rng, int nCount, double dMin, double dMax, QColor colour)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < nCount; ++i) {
        const QPointF p(rng.Range(box.left(), box.right()), rng.Range(box.top(), box.bottom()));
        const double s = rng.Range(dMin, dMax);
        painter.save();
        painter.translate(p);
        painter.rotate(rng.Range(-25, 25));
        painter.setBrush(WithAlpha(colour, int(colour.alpha() * rng.Range(0.4, 1.0))));
        painter.drawPath(HeartPath(QRectF(-s / 2, -s / 2, s, s * 0.9)));
        painter.restore();
    }
    painter.restore();
}

void FallingLeaves(QPainter& painter, const QRectF& box, Rng& rng, int nCount, double dMin, double dMax)
{
    static const QColor kColours[] = {QColor(0xD9, 0x5B, 0x1F), QColor(0xB7, 0x2E, 0x1E), QColor(0xE8, 0x9B, 0x2A),
        QColor(0x9C, 0x5A, 0x2B), QColor(0xF2, 0xC1, 0x4E)};
    painter.save();
    for (int i = 0; i < nCount; ++i) {
        const QPointF p(rng.Range(box.left(), box.right()), rng.Range(box.top(), box.bottom()));
        const double s = rng.Range(dMin, dMax);
        const QColor c = kColours[rng.Below(5)];
        const QPainterPath leaf = MaplePath(p, s, rng.Range(-60, 60));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x60, 0x30, 0x10, 40));
        painter.drawPath(leaf.translated(s * 0.05, s * 0.08));
        QLinearGradient shade(p - QPointF(s / 2, s / 2), p + QPointF(s / 2, s / 2));
        shade.setColorAt(0, Mix(c, Qt::white, 0.2));
        shade.setColorAt(1, Mix(c, Qt::black, 0.2));
        painter.setBrush(shade);
        painter.setOpacity(rng.Range(0.65, 0.95));
        painter.drawPath(leaf);
        painter.setOpacity(1);
    }
    painter.restore();
}

void Bokeh(QPainter& painter, const QRectF& box, Rng& rng, int nCount, double dMin, double dMax,
    std::initializer_list<QColor> colours)
{
    const std::vector<QColor> palette(colours);
    painter.save();
    for (int i = 0; i < nCount; ++i) {
        const QPointF p(rng.Range(box.left(), box.right()), rng.Range(box.top(), box.bottom()));
        const double r = rng.Range(dMin, dMax);
        const QColor c = palette[size_t(rng.Below(int(palette.size())))];
        QRadialGradient gradient(p, r);
        gradient.setColorAt(0, WithAlpha(c, c.alpha() / 3));
        gradient.setColorAt(0.85, WithAlpha(c, c.alpha() / 2));
        gradient.setColorAt(1, WithAlpha(c, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(gradient);
        painter.drawEllipse(p, r, r);
    }
    painter.restore();
}

// A small five-petal blossom with a contrasting heart.
void Blossom(QPainter& painter, QPointF centre, double r, QColor petal, QColor heart, double dTurn)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) {
        const QPainterPath p = PetalPath(centre, r, r * 0.62, dTurn + i * 72);
        QRadialGradient shade(centre, r);
        shade.setColorAt(0, Mix(petal, Qt::black, 0.15));
        shade.setColorAt(1, Mix(petal, Qt::white, 0.35));
        painter.setBrush(shade);
        painter.drawPath(p);
    }
    painter.setBrush(GlossBrush(QRectF(centre - QPointF(r * 0.3, r * 0.3), QSizeF(r * 0.6, r * 0.6)), heart));
    painter.drawEllipse(centre, r * 0.26, r * 0.26);
    painter.restore();
}

// A sprig of leaves along a curve, with a few blossoms, for corners of floral cards.
void Sprig(QPainter& painter, QPointF from, QPointF control, QPointF to, double dLeaf, QColor leaf, QColor petal,
    QColor heart, Rng& rng)
{
    QPainterPath stem;
    stem.moveTo(from);
    stem.quadTo(control, to);
    painter.save();
    painter.setPen(QPen(Mix(leaf, Qt::black, 0.25), dLeaf * 0.09, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(stem);
    painter.setPen(Qt::NoPen);
    for (int i = 1; i < 9; ++i) {
        const double t = i / 9.0;
        const QPointF p = stem.pointAtPercent(t);
        const double a = -stem.angleAtPercent(t);
        const double s = dLeaf * (1.1 - t * 0.5);
        for (int side : {-1, 1}) {
            const QPainterPath l = LeafPath(p, s, s * 0.42, a + 90 + side * 50);
            painter.setBrush(Mix(leaf, side < 0 ? Qt::white : Qt::black, 0.12 + rng.Range(0, 0.1)));
            painter.drawPath(l);
        }
    }
    for (double t : {0.35, 0.7, 1.0}) {
        const QPointF p = stem.pointAtPercent(t);
        Blossom(painter, p, dLeaf * (t == 1.0 ? 0.9 : 0.65), petal, heart, rng.Range(0, 72));
    }
    painter.restore();
}

void Wheat(QPainter& painter, QPointF base, double dHeight, double dLean)
{
    const QColor gold(0xE9, 0xB9, 0x52);
    QPainterPath stalk;
    const QPointF top = base + QPointF(dLean, -dHeight);
    stalk.moveTo(base);
    stalk.quadTo(base + QPointF(dLean * 0.1, -dHeight * 0.6), top);
    painter.save();
    painter.setPen(QPen(Mix(gold, Qt::black, 0.2), 3.5, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(stalk);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 9; ++i) {
        const double t = 0.62 + i * 0.042;
        const QPointF p = stalk.pointAtPercent(std::min(t, 1.0));
        const double a = -stalk.angleAtPercent(std::min(t, 1.0));
        for (int side : {-1, 1}) {
            painter.save();
            painter.translate(p);
            painter.rotate(a + 90 + side * 28);
            painter.setBrush(VerticalGradient(QRectF(-7, -26, 14, 26), {{0, Mix(gold, Qt::white, 0.3)}, {1, gold}}));
            painter.drawEllipse(QRectF(-6.5, -26, 13, 26));
            painter.restore();
        }
    }
    painter.restore();
}

void SpiderWeb(QPainter& painter, QPointF corner, double dRadius, double dStart, QColor colour)
{
    painter.save();
    painter.setPen(QPen(colour, 1.6));
    painter.setBrush(Qt::NoBrush);
    const int nSpokes = 6;
    std::vector<double> angles;
    for (int i = 0; i < nSpokes; ++i)
        angles.push_back((dStart + i * 90.0 / (nSpokes - 1)) * std::numbers::pi / 180);
    for (double a : angles)
        painter.drawLine(corner, corner + QPointF(std::cos(a), std::sin(a)) * dRadius);
    for (int ring = 1; ring <= 6; ++ring) {
        const double r = dRadius * ring / 6.5;
        QPainterPath path;
        for (size_t i = 0; i < angles.size(); ++i) {
            const QPointF p = corner + QPointF(std::cos(angles[i]), std::sin(angles[i])) * r;
            if (i == 0) {
                path.moveTo(p);
            } else {
                const double am = (angles[i] + angles[i - 1]) / 2;
                path.quadTo(corner + QPointF(std::cos(am), std::sin(am)) * r * 0.86, p);
            }
        }
        painter.drawPath(path);
    }
    painter.restore();
}

// A bare, branching tree silhouette.
void BareTree(QPainter& painter, QPointF base, double dLength, double dAngle, double dWidth, int nDepth, Rng& rng)
{
    const double a = dAngle * std::numbers::pi / 180;
    const QPointF tip = base + QPointF(std::sin(a), -std::cos(a)) * dLength;
    painter.setPen(QPen(painter.brush().color(), dWidth, Qt::SolidLine, Qt::RoundCap));
    QPainterPath branch;
    branch.moveTo(base);
    branch.quadTo((base + tip) / 2 + QPointF(rng.Range(-0.08, 0.08) * dLength, 0), tip);
    painter.drawPath(branch);
    if (nDepth == 0)
        return;
    const int nChildren = nDepth > 3 ? 2 : 3;
    for (int i = 0; i < nChildren; ++i) {
        const double spread = (i - (nChildren - 1) / 2.0) * rng.Range(24, 38);
        BareTree(painter, tip, dLength * rng.Range(0.6, 0.78), dAngle + spread + rng.Range(-8, 8), dWidth * 0.66,
            nDepth - 1, rng);
    }
}

void Bat(QPainter& painter, QPointF centre, double s)
{
    QPainterPath bat;
    bat.moveTo(centre + QPointF(0, -0.12 * s));
    bat.quadTo(centre + QPointF(0.25 * s, -0.45 * s), centre + QPointF(0.62 * s, -0.32 * s));
    bat.quadTo(centre + QPointF(0.5 * s, -0.15 * s), centre + QPointF(0.55 * s, 0.05 * s));
    bat.quadTo(centre + QPointF(0.42 * s, -0.02 * s), centre + QPointF(0.36 * s, 0.12 * s));
    bat.quadTo(centre + QPointF(0.26 * s, 0.0), centre + QPointF(0.16 * s, 0.14 * s));
    bat.quadTo(centre + QPointF(0.08 * s, 0.02 * s), centre + QPointF(0, 0.16 * s));
    bat.quadTo(centre + QPointF(-0.08 * s, 0.02 * s), centre + QPointF(-0.16 * s, 0.14 * s));
    bat.quadTo(centre + QPointF(-0.26 * s, 0.0), centre + QPointF(-0.36 * s, 0.12 * s));
    bat.quadTo(centre + QPointF(-0.42 * s, -0.02 * s), centre + QPointF(-0.55 * s, 0.05 * s));
    bat.quadTo(centre + QPointF(-0.5 * s, -0.15 * s), centre + QPointF(-0.62 * s, -0.32 * s));
    bat.quadTo(centre + QPointF(-0.25 * s, -0.45 * s), centre + QPointF(0, -0.12 * s));
    painter.drawPath(bat);
    painter.drawEllipse(centre + QPointF(0, -0.08 * s), 0.09 * s, 0.12 * s);
}

void Cloud(QPainter& painter, const QRectF& box, QColor colour)
{
    const QPainterPath cloud = CloudPath(box);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x5A, 0x7A, 0xA0, 35));
    painter.drawPath(cloud.translated(0, box.height() * 0.06));
    painter.setBrush(VerticalGradient(box, {{0.2, colour}, {1, Mix(colour, QColor(0xC8, 0xDC, 0xF0), 0.6)}}));
    painter.drawPath(cloud);
}

void Rainbow(QPainter& painter, QPointF centre, double dRadius, double dBand)
{
    static const QColor kBands[] = {QColor(0xFF, 0x6B, 0x6B), QColor(0xFF, 0xA9, 0x4D), QColor(0xFF, 0xE0, 0x66),
        QColor(0x7E, 0xD9, 0x57), QColor(0x4D, 0xB8, 0xFF), QColor(0x9B, 0x7B, 0xFF)};
    painter.save();
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < 6; ++i) {
        const double r = dRadius - i * dBand;
        painter.setPen(QPen(WithAlpha(kBands[i], 200), dBand + 0.8, Qt::SolidLine, Qt::FlatCap));
        painter.drawArc(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 0, 180 * 16);
    }
    painter.restore();
}

void Sun(QPainter& painter, QPointF centre, double r, bool bRays)
{
    Glow(painter, centre, r * 3, QColor(0xFF, 0xF2, 0xB0, 150));
    if (bRays) {
        painter.save();
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xFF, 0xD5, 0x4F, 200));
        for (int i = 0; i < 12; ++i) {
            painter.save();
            painter.translate(centre);
            painter.rotate(i * 30);
            QPainterPath ray;
            ray.moveTo(-r * 0.18, -r * 1.2);
            ray.lineTo(0, -r * 1.75);
            ray.lineTo(r * 0.18, -r * 1.2);
            ray.closeSubpath();
            painter.drawPath(ray);
            painter.restore();
        }
        painter.restore();
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(GlossBrush(QRectF(centre - QPointF(r, r), QSizeF(2 * r, 2 * r)), QColor(0xFF, 0xC9, 0x2E)));
    painter.drawEllipse(centre, r, r);
}

void Fireworks(QPainter& painter, QPointF centre, double r, QColor colour, Rng& rng)
{
    painter.save();
    Glow(painter, centre, r * 0.9, WithAlpha(colour, 60));
    const int nRays = 40;
    for (int i = 0; i < nRays; ++i) {
        const double a = 2 * std::numbers::pi * i / nRays + rng.Range(-0.04, 0.04);
        const double len = r * rng.Range(0.75, 1.0);
        const QPointF dir(std::cos(a), std::sin(a) + 0.08);
        QLinearGradient trail(centre + dir * len * 0.15, centre + dir * len);
        trail.setColorAt(0, WithAlpha(colour, 0));
        trail.setColorAt(1, Mix(colour, Qt::white, 0.3));
        painter.setPen(QPen(QBrush(trail), 2.4, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(centre + dir * len * 0.15, centre + dir * len);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Mix(colour, Qt::white, 0.55));
        painter.drawEllipse(centre + dir * len, 3.2, 3.2);
    }
    painter.restore();
}

void Skyline(QPainter& painter, const QRectF& box, Rng& rng, QColor colour)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    double x = box.left();
    while (x < box.right()) {
        const double w = rng.Range(50, 120);
        const double h = rng.Range(box.height() * 0.3, box.height());
        const QRectF building(x, box.bottom() - h, w, h);
        painter.setBrush(colour);
        painter.drawRect(building);
        for (double wy = building.top() + 14; wy < building.bottom() - 14; wy += 22) {
            for (double wx = building.left() + 10; wx < building.right() - 12; wx += 18) {
                if (rng.Next() < 0.3) {
                    painter.setBrush(QColor(0xFF, 0xD9, 0x7A, int(rng.Range(120, 230))));
                    painter.drawRect(QRectF(wx, wy, 8, 11));
                }
            }
        }
        x += w + rng.Range(0, 12);
    }
    painter.restore();
}

void Tartan(QPainter& painter, const QRectF& box)
{
    painter.fillRect(box, QColor(0x1E, 0x35, 0x57));
    struct Band {
        double dOffset, dWidth;
        QColor colour;
    };
    const Band kBands[] = {{0, 90, QColor(0x2D, 0x5C, 0x4A, 150)}, {120, 36, QColor(0x12, 0x22, 0x3A, 170)},
        {176, 10, QColor(0xC9, 0xA2, 0x4A, 170)}, {200, 36, QColor(0x12, 0x22, 0x3A, 170)},
        {262, 5, QColor(0xB8, 0x3A, 0x3A, 190)}};
    const double dRepeat = 300;
    for (double base = box.left() - dRepeat; base < box.right(); base += dRepeat) {
        for (const Band& b : kBands) {
            painter.fillRect(QRectF(base + b.dOffset, box.top(), b.dWidth, box.height()), b.colour);
            painter.fillRect(QRectF(box.left(), base + b.dOffset, box.width(), b.dWidth), b.colour);
        }
    }
    // The diagonal twill of the weave.
    painter.save();
    painter.setPen(QPen(QColor(255, 255, 255, 10), 2));
    for (double d = -box.height(); d < box.width(); d += 6)
        painter.drawLine(QPointF(box.left() + d, box.top()), QPointF(box.left() + d + box.height(), box.bottom()));
    painter.restore();
}

void Damask(QPainter& painter, const QRectF& box, QColor colour, double dStep)
{
    painter.save();
    painter.setPen(QPen(colour, 2));
    painter.setBrush(Qt::NoBrush);
    for (int row = 0; row * dStep < box.height() + dStep; ++row) {
        for (int col = 0; col * dStep < box.width() + dStep; ++col) {
            const QPointF c(box.left() + col * dStep + (row % 2) * dStep / 2, box.top() + row * dStep);
            for (int i = 0; i < 4; ++i) {
                painter.save();
                painter.translate(c);
                painter.rotate(i * 90);
                QPainterPath curl;
                curl.moveTo(0, 0);
                curl.cubicTo(dStep * 0.08, -dStep * 0.18, dStep * 0.26, -dStep * 0.16, dStep * 0.22, -dStep * 0.06);
                curl.cubicTo(dStep * 0.19, 0, dStep * 0.12, -dStep * 0.02, dStep * 0.13, -dStep * 0.07);
                painter.drawPath(curl);
                painter.restore();
            }
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawEllipse(c, 4, 4);
            painter.setPen(QPen(colour, 2));
            painter.setBrush(Qt::NoBrush);
        }
    }
    painter.restore();
}

void Dots(QPainter& painter, const QRectF& box, double dStep, double dRadius, std::initializer_list<QColor> colours)
{
    const std::vector<QColor> palette(colours);
    painter.save();
    painter.setPen(Qt::NoPen);
    int n = 0;
    for (int row = 0; row * dStep < box.height() + dStep; ++row) {
        for (int col = 0; col * dStep < box.width() + dStep; ++col) {
            painter.setBrush(palette[size_t(n++) % palette.size()]);
            painter.drawEllipse(
                QPointF(box.left() + col * dStep + (row % 2) * dStep / 2, box.top() + row * dStep), dRadius, dRadius);
        }
    }
    painter.restore();
}

// --- The backgrounds, one function each -------------------------------------------------------------

void ChristmasNight(QPainter& p, const QRectF& b, Rng& rng)
{
    FillVertical(
        p, b, {{0, QColor(0x08, 0x16, 0x33)}, {0.55, QColor(0x1F, 0x40, 0x72)}, {0.8, QColor(0x5B, 0x7E, 0xB0)}});
    Stars(p, QRectF(0, 0, b.width(), b.height() * 0.55), rng, 160, QColor(255, 255, 240));
    Glow(p, QPointF(1220, 170), 260, QColor(0xFF, 0xF6, 0xD8, 70));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFB, 0xF6, 0xE4));
    p.drawEllipse(QPointF(1220, 170), 62, 62);
    p.setBrush(QColor(0x1A, 0x36, 0x63));
    p.drawEllipse(QPointF(1248, 152), 56, 56);
    Hill(p, b, 700, 40, 0.5, 2.2, QColor(0x9E, 0xB6, 0xD8), QColor(0x7C, 0x98, 0xC2));
    for (int i = 0; i < 14; ++i) {
        const double x = 60 + i * 105 + rng.Range(-30, 30);
        const double h = rng.Range(110, 190);
        p.setBrush(QColor(0x17, 0x33, 0x4A));
        p.drawPath(PineTreePath(QPointF(x, 760 + rng.Range(-20, 25)), h, h * 0.55, 4));
    }
    Hill(p, b, 800, 35, 2.0, 1.6, QColor(0xF4, 0xF8, 0xFF), QColor(0xC8, 0xD8, 0xEE));
    Hill(p, b, 900, 30, 4.0, 1.2, QColor(0xFF, 0xFF, 0xFF), QColor(0xDD, 0xE8, 0xF6));
    Sprinkle(p, b, rng, 420, 1.5, 4.5, QColor(255, 255, 255, 220), true);
    Sprinkle(p, b, rng, 60, 6, 11, QColor(255, 255, 255, 140), true);
}

void ChristmasRed(QPainter& p, const QRectF& b, Rng& rng)
{
    FillRadial(p, b, QPointF(500, 700), QColor(0xC1, 0x22, 0x2E), QColor(0x5E, 0x0A, 0x12));
    // Argyle lattice in faint gold.
    p.setPen(QPen(QColor(0xE8, 0xC0, 0x6A, 28), 2));
    for (double d = -1400; d < 1400; d += 110) {
        p.drawLine(QPointF(d, 0), QPointF(d + 1400, 1400));
        p.drawLine(QPointF(d + 1400, 0), QPointF(d, 1400));
    }
    for (int i = 0; i < 26; ++i)
        Snowflake(p, QPointF(rng.Range(40, 960), rng.Range(330, 1380)), rng.Range(14, 38), QColor(255, 255, 255, 45),
            2.2, rng.Range(0, 60));
    Vignette(p, b, QColor(0x30, 0x02, 0x08, 150));
    DoubleBorder(p, b, 28, QColor(0xE2, 0xB6, 0x58));
    Flourish(p, QPointF(500, 262), 240, QColor(0xE8, 0xC0, 0x6A));
}

void NewYearFireworks(QPainter& p, const QRectF& b, Rng& rng)
{
    FillVertical(p, b, {{0, QColor(0x05, 0x08, 0x1E)}, {0.6, QColor(0x1B, 0x14, 0x48)}, {1, QColor(0x43, 0x1F, 0x63)}});
    Stars(p, b, rng, 150, QColor(255, 255, 255));
    Fireworks(p, QPointF(260, 230), 170, QColor(0xFF, 0xC8, 0x4A), rng);
    Fireworks(p, QPointF(760, 160), 130, QColor(0xFF, 0x5C, 0xC1), rng);
    Fireworks(p, QPointF(1230, 260), 190, QColor(0x4E, 0xE2, 0xFF), rng);
    Fireworks(p, QPointF(560, 420), 90, QColor(0xB9, 0xFF, 0x7A), rng);
    Fireworks(p, QPointF(1010, 470), 100, QColor(0xFF, 0x9A, 0x4A), rng);
    Glow(p, QPointF(750, 1000), 700, QColor(0xFF, 0x7A, 0xB8, 60));
    Skyline(p, QRectF(0, 760, 1500, 240), rng, QColor(0x0B, 0x09, 0x1C));
}

void NewYearGold(QPainter& p, const QRectF& b, Rng& rng)
{
    FillRadial(p, b, QPointF(500, 500), QColor(0x3A, 0x30, 0x22), QColor(0x0C, 0x0B, 0x0A));
    Bokeh(p, b, rng, 70, 20, 70, {QColor(0xF5, 0xC8, 0x5C, 120), QColor(0xFF, 0xE9, 0xB0, 90)});
    // Curling streamers.
    for (int i = 0; i < 7; ++i) {
        QPainterPath streamer;
        const double x = rng.Range(0, 1000);
        streamer.moveTo(x, 300 + rng.Range(0, 900));
        for (int k = 0; k < 4; ++k)
            streamer.cubicTo(streamer.currentPosition() + QPointF(rng.Range(-80, 80), -60),
                streamer.currentPosition() + QPointF(rng.Range(40, 120), rng.Range(-40, 40)),
                streamer.currentPosition() + QPointF(rng.Range(-60, 60), rng.Range(60, 140)));
        p.setPen(QPen(QColor(0xE6, 0xB8, 0x4E, 150), 6, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(streamer);
    }
    Confetti(p, QRectF(0, 300, 1000, 1100), rng, 260, 16,
        {QColor(0xF2, 0xC6, 0x5A), QColor(0xFF, 0xF0, 0xC2), QColor(0xC9, 0x93, 0x2E), QColor(0xE8, 0xE8, 0xEE)});
    DoubleBorder(p, b, 28, QColor(0xD9, 0xAE, 0x52));
    Flourish(p, QPointF(500, 262), 240, QColor(0xE6, 0xB8, 0x4E));
}

void ValentineBlush(QPainter& p, const QRectF& b, Rng& rng)
{
    FillVertical(p, b, {{0, QColor(0xFF, 0xEC, 0xF1)}, {1, QColor(0xF6, 0xB1, 0xC6)}});
    Bokeh(p, b, rng, 50, 30, 90, {QColor(255, 255, 255, 150), QColor(0xFF, 0x9C, 0xB8, 110)});
    ScatterHearts(p, b, rng, 70, 24, 70, QColor(0xE8, 0x4A, 0x78, 70));
    ScatterHearts(p, b, rng, 30, 40, 90, QColor(255, 255, 255, 150));
    Vignette(p, b, QColor(0xC2, 0x3A, 0x63, 90), 0.6);
}

void ValentineRed(QPainter& p, const QRectF& b, Rng& rng)
{
    FillRadial(p, b, QPointF(500, 650), QColor(0xD1, 0x1F, 0x4B), QColor(0x5A, 0x05, 0x1E));
    Bokeh(p, b, rng, 60, 20, 70, {QColor(0xFF, 0x8F, 0xB0, 110), QColor(0xFF, 0xD0, 0xDC, 80)});
    ScatterHearts(p, QRectF(0, 320, 1000, 1080), rng, 40, 30, 80, QColor(0xFF, 0xB3, 0xC7, 70));
    Vignette(p, b, QColor(0x30, 0x00, 0x10, 150));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF, 0xD3, 0xE0));
    for (int i = -1; i <= 1; ++i)
        p.drawPath(HeartPath(
            QRectF(500 + i * 46 - (i == 0 ? 16 : 11), 250 - (i == 0 ? 2 : 0), i == 0 ? 32 : 22, i == 0 ? 29 : 20)));
}

void HalloweenMoon(QPainter& p, const QRectF& b, Rng& rng)
{
    FillVertical(p, b,
        {{0, QColor(0x14, 0x07, 0x26)}, {0.5, QColor(0x4A, 0x1A, 0x5C)}, {0.8, QColor(0xC8, 0x5A, 0x2A)},
            {1, QColor(0xF0, 0x9A, 0x3A)}});
    Stars(p, QRectF(0, 0, 1500, 450), rng, 90, QColor(255, 240, 220));
    Glow(p, QPointF(1080, 330), 380, QColor(0xFF, 0xD9, 0x8A, 110));
    p.setPen(Qt::NoPen);
    QRadialGradient moon(QPointF(1050, 300), 190);
    moon.setColorAt(0, QColor(0xFF, 0xF6, 0xD6));
    moon.setColorAt(1, QColor(0xF5, 0xCF, 0x7A));
    p.setBrush(moon);
    p.drawEllipse(QPointF(1080, 330), 170, 170);
    p.setBrush(QColor(0xE0, 0xB0, 0x60, 70));
    p.drawEllipse(QPointF(1030, 290), 28, 24);
    p.drawEllipse(QPointF(1130, 380), 40, 34);
    p.drawEllipse(QPointF(1150, 270), 16, 14);
    p.setBrush(QColor(0x12, 0x06, 0x18));
    for (int i = 0; i < 6; ++i)
        Bat(p, QPointF(rng.Range(850, 1350), rng.Range(120, 520)), rng.Range(40, 80));
    Hill(p, b, 820, 40, 1.0, 1.5, QColor(0x2A, 0x0F, 0x2E), QColor(0x1A, 0x08, 0x1C));
    p.setBrush(QColor(0x12, 0x06, 0x14));
    BareTree(p, QPointF(230, 860), 230, 4, 34, 6, rng);
    Hill(p, b, 910, 25, 3.0, 2.5, QColor(0x14, 0x06, 0x16), QColor(0x0A, 0x02, 0x0C));
}

void HalloweenNight(QPainter& p, const QRectF& b, Rng& rng)
{
    FillRadial(p, b, QPointF(500, 800), QColor(0x4A, 0x1C, 0x6A), QColor(0x0E, 0x03, 0x18));
    Glow(p, QPointF(500, 1400), 700, QColor(0xFF, 0x8A, 0x1E, 120));
    Stars(p, b, rng, 90, QColor(255, 230, 200));
    SpiderWeb(p, QPointF(0, 0), 330, 0, QColor(255, 255, 255, 70));
    SpiderWeb(p, QPointF(1000, 0), 300, 90, QColor(255, 255, 255, 60));
    p.setPen(QPen(QColor(255, 255, 255, 80), 1.5));
    p.drawLine(QPointF(880, 0), QPointF(880, 360));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0C, 0x02, 0x10));
    p.drawEllipse(QPointF(880, 372), 16, 20);
    p.drawEllipse(QPointF(880, 350), 10, 10);
    p.setPen(QPen(QColor(0x0C, 0x02, 0x10), 3));
    for (int side : {-1, 1})
        for (int i = 0; i < 4; ++i)
            p.drawLine(QPointF(880, 365 + i * 6), QPointF(880 + side * 30, 352 + i * 12));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0C, 0x02, 0x10, 200));
    for (int i = 0; i < 5; ++i)
        Bat(p, QPointF(rng.Range(80, 920), rng.Range(330, 600)), rng.Range(34, 64));
}

void ThanksgivingAutumn(QPainter& p, const QRectF& b, Rng& rng)
{
    FillVertical(p, b, {{0, QColor(0xFF, 0xF5, 0xE2)}, {1, QColor(0xF3, 0xC8, 0x8A)}});
    Bokeh(p, b, rng, 30, 40, 110, {QColor(255, 255, 255, 120), QColor(0xF6, 0xA8, 0x4A, 80)});
    FallingLeaves(p, b, rng, 46, 60, 150);
    Vignette(p, b, QColor(0x8A, 0x4A, 0x12, 110), 0.6);
}

void ThanksgivingHarvest(QPainter& p, const QRectF& b, Rng& rng)
{
    FillRadial(p, b, QPointF(500, 600), QColor(0xD6, 0x7A, 0x2C), QColor(0x62, 0x2A, 0x0A));
    FallingLeaves(p, QRectF(0, 330, 1000, 1070), rng, 24, 50, 110);
    for (int i = 0; i < 5; ++i) {
        Wheat(p, QPointF(40 + i * 18, 1420), 420 - i * 30, 60 + i * 34);
        Wheat(p, QPointF(960 - i * 18, 1420), 420 - i * 30, -60 - i * 34);
    }
    Vignette(p, b, QColor(0x2A, 0x0E, 0x00, 140));
    Flourish(p, QPointF(500, 268), 220, QColor(0xFF, 0xE2, 0xA8));
}

void MothersFloral(QPainter& p, const QRectF& b, Rng& rng)
{
    FillVertical(p, b, {{0, QColor(0xFF, 0xF4, 0xEF)}, {1, QColor(0xF8, 0xD4, 0xD2)}});
    for (int i = 0; i < 16; ++i) {
        const QColor c = i % 3 == 0 ? QColor(0xF6, 0xA6, 0xB8, 45)
            : i % 3 == 1            ? QColor(0xC9, 0xB0, 0xF0, 40)
                                    : QColor(0xFF, 0xC8, 0x9A, 45);
        Glow(p, QPointF(rng.Range(0, 1500), rng.Range(0, 1000)), rng.Range(120, 260), c);
    }
    const QColor leaf(0x7F, 0xA8, 0x7A);
    Sprig(p, QPointF(-20, 260), QPointF(120, 120), QPointF(300, 40), 60, leaf, QColor(0xF4, 0x8F, 0xAE),
        QColor(0xFF, 0xD8, 0x6A), rng);
    Sprig(p, QPointF(-20, 420), QPointF(80, 180), QPointF(60, 60), 50, leaf, QColor(0xF7, 0xB9, 0x8C),
        QColor(0xC4, 0x5A, 0x7A), rng);
    Sprig(p, QPointF(1520, 760), QPointF(1380, 860), QPointF(1200, 980), 60, leaf, QColor(0xC6, 0x9C, 0xE8),
        QColor(0xFF, 0xE0, 0x80), rng);
    Sprig(p, QPointF(1520, 600), QPointF(1420, 820), QPointF(1440, 960), 50, leaf, QColor(0xF4, 0x8F, 0xAE),
        QColor(0xFF, 0xD8, 0x6A), rng);
}

void MothersLilac(QPainter& p, const QRectF& b, Rng& rng)
{
    FillVertical(p, b, {{0, QColor(0xF3, 0xEB, 0xFA)}, {1, QColor(0xC9, 0xB2, 0xE2)}});
    Dots(p, QRectF(0, 320, 1000, 1080), 70, 5, {QColor(255, 255, 255, 120)});
    const QColor leaf(0x86, 0xA8, 0x86);
    Sprig(p, QPointF(-20, 1420), QPointF(60, 1200), QPointF(260, 1120), 60, leaf, QColor(0xF0, 0x8C, 0xB4),
        QColor(0xFF, 0xE0, 0x80), rng);
    Sprig(p, QPointF(1020, 1420), QPointF(940, 1200), QPointF(740, 1120), 60, leaf, QColor(0xB4, 0x8C, 0xE6),
        QColor(0xFF, 0xE0, 0x80), rng);
    Flourish(p, QPointF(500, 250), 240, QColor(0xA8, 0x6C, 0xC0));
}

void FathersNavy(QPainter& p, const QRectF& b, Rng& rng)
{
    Q_UNUSED(rng);
    FillRadial(p, b, QPointF(750, 420), QColor(0x34, 0x58, 0x86), QColor(0x0E, 0x1C, 0x33));
    p.setPen(QPen(QColor(255, 255, 255, 14), 2));
    for (double x = 0; x < 1500; x += 26)
        p.drawLine(QPointF(x, 0), QPointF(x, 1000));
    p.setPen(QPen(QColor(0xC8, 0xA0, 0x5A, 40), 1));
    for (double x = 13; x < 1500; x += 104)
        p.drawLine(QPointF(x, 0), QPointF(x, 1000));
    Vignette(p, b, QColor(0x02, 0x06, 0x10, 170));
    DoubleBorder(p, b, 24, QColor(0xC8, 0xA0, 0x5A, 200));
}

void FathersPlaid(QPainter& p, const QRectF& b, Rng& rng)
{
    Q_UNUSED(rng);
    Tartan(p, b);
    Vignette(p, b, QColor(0x04, 0x08, 0x12, 150));
    // A cream ribbon banner for the greeting.
    QPainterPath banner;
    banner.moveTo(40, 110);
    banner.quadTo(500, 70, 960, 110);
    banner.lineTo(920, 180);
    banner.lineTo(960, 250);
    banner.quadTo(500, 210, 40, 250);
    banner.lineTo(80, 180);
    banner.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawPath(banner.translated(0, 10));
    p.setBrush(
        VerticalGradient(QRectF(0, 80, 10, 170), {{0, QColor(0xFB, 0xF3, 0xE0)}, {1, QColor(0xE8, 0xD6, 0xB0)}}));
    p.drawPath(banner);
}

void EasterMeadow(QPainter& p, const QRectF& b, Rng& rng)
{
    FillVertical(p, b, {{0, QColor(0xA8, 0xDC, 0xFA)}, {0.7, QColor(0xEA, 0xF7, 0xFF)}});
    Sun(p, QPointF(1300, 150), 70, true);
    Cloud(p, QRectF(140, 80, 320, 170), Qt::white);
    Cloud(p, QRectF(760, 150, 240, 130), Qt::white);
    Hill(p, b, 690, 50, 0.3, 1.4, QColor(0xA6, 0xD8, 0x6A), QColor(0x7C, 0xB8, 0x48));
    Hill(p, b, 810, 40, 2.4, 1.8, QColor(0x8C, 0xCC, 0x52), QColor(0x5E, 0xA0, 0x32));
    for (int i = 0; i < 140; ++i) {
        const QPointF c(rng.Range(0, 1500), rng.Range(800, 990));
        const QColor petals[]
            = {Qt::white, QColor(0xFF, 0xE0, 0x6A), QColor(0xFF, 0xB0, 0xC8), QColor(0xC8, 0xA8, 0xFF)};
        Blossom(p, c, rng.Range(7, 13), petals[rng.Below(4)], QColor(0xFF, 0xB8, 0x2A), rng.Range(0, 72));
    }
}

void EasterPastel(QPainter& p, const QRectF& b, Rng& rng)
{
    FillVertical(p, b, {{0, QColor(0xFF, 0xFB, 0xE6)}, {1, QColor(0xFF, 0xEA, 0xB0)}});
    Dots(p, QRectF(0, 330, 1000, 1070), 80, 9,
        {QColor(0xF7, 0xA8, 0xC4, 90), QColor(0x9C, 0xE0, 0xC8, 90), QColor(0xC2, 0xB0, 0xF2, 90)});
    // Grass along the bottom.
    for (int i = 0; i < 220; ++i) {
        const double x = rng.Range(-10, 1010);
        const double h = rng.Range(50, 140);
        const double lean = rng.Range(-30, 30);
        QPainterPath blade;
        blade.moveTo(x - 7, 1400);
        blade.quadTo(x + lean * 0.3, 1400 - h * 0.6, x + lean, 1400 - h);
        blade.quadTo(x + lean * 0.3 + 4, 1400 - h * 0.6, x + 7, 1400);
        blade.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(Mix(QColor(0x7C, 0xC4, 0x4E), QColor(0x4E, 0x98, 0x30), rng.Next()));
        p.drawPath(blade);
    }
    Flourish(p, QPointF(500, 268), 220, QColor(0xE8, 0x8C, 0xB8));
}

void BirthdayConfetti(QPainter& p, const QRectF& b, Rng& rng)
{
    FillVertical(p, b, {{0, QColor(0xE6, 0xFA, 0xFB)}, {1, QColor(0xB4, 0xE6, 0xF0)}});
    Bokeh(p, b, rng, 40, 30, 90, {QColor(255, 255, 255, 160)});
    Confetti(p, b, rng, 320, 20,
        {QColor(0xFF, 0x5C, 0x8A), QColor(0xFF, 0xC1, 0x3B), QColor(0x3D, 0xC1, 0xD3), QColor(0x8E, 0x6C, 0xF0),
            QColor(0x6B, 0xD0, 0x6B)});
    Bunting(p, QPointF(-20, 20), QPointF(760, 40), 60, 60,
        {QColor(0xFF, 0x5C, 0x8A), QColor(0xFF, 0xC1, 0x3B), QColor(0x3D, 0xC1, 0xD3), QColor(0x8E, 0x6C, 0xF0)});
    Bunting(p, QPointF(740, 40), QPointF(1520, 20), 60, 60,
        {QColor(0x6B, 0xD0, 0x6B), QColor(0xFF, 0x5C, 0x8A), QColor(0xFF, 0xC1, 0x3B), QColor(0x3D, 0xC1, 0xD3)});
}

void BirthdayParty(QPainter& p, const QRectF& b, Rng& rng)
{
    FillVertical(p, b, {{0, QColor(0xFF, 0xE8, 0xF2)}, {1, QColor(0xE2, 0xD2, 0xFA)}});
    Bokeh(p, b, rng, 40, 30, 90, {QColor(255, 255, 255, 170)});
    Confetti(p, QRectF(0, 300, 1000, 1100), rng, 240, 20,
        {QColor(0xFF, 0x5C, 0x8A), QColor(0xFF, 0xC1, 0x3B), QColor(0x3D, 0xC1, 0xD3), QColor(0x8E, 0x6C, 0xF0)});
    Bunting(p, QPointF(-20, 10), QPointF(1020, 10), 40, 52,
        {QColor(0x8E, 0x6C, 0xF0), QColor(0xFF, 0x5C, 0x8A), QColor(0xFF, 0xC1, 0x3B), QColor(0x3D, 0xC1, 0xD3)});
}

void GraduationNavy(QPainter& p, const QRectF& b, Rng& rng)
{
    FillRadial(p, b, QPointF(750, 380), QColor(0x24, 0x44, 0x7E), QColor(0x08, 0x12, 0x2A));
    Bokeh(p, b, rng, 50, 20, 70, {QColor(0xF2, 0xC6, 0x5A, 90), QColor(255, 255, 255, 60)});
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 40; ++i) {
        const QPointF c(rng.Range(0, 1500), rng.Range(0, 1000));
        const double r = rng.Range(6, 20);
        p.setBrush(QColor(0xF2, 0xCC, 0x6A, int(rng.Range(90, 220))));
        p.drawPath(StarPath(c, r, r * 0.42, 5, rng.Range(-90, -60)));
    }
    Vignette(p, b, QColor(0, 0, 0, 140));
    DoubleBorder(p, b, 24, QColor(0xD9, 0xAE, 0x52));
}

void GraduationGold(QPainter& p, const QRectF& b, Rng& rng)
{
    FillVertical(p, b, {{0, QColor(0x0F, 0x1E, 0x3E)}, {1, QColor(0x1E, 0x3A, 0x6A)}});
    // Rays of light from behind the greeting.
    p.save();
    p.translate(500, 180);
    for (int i = 0; i < 24; ++i) {
        p.rotate(15);
        QPainterPath ray;
        ray.moveTo(0, 0);
        ray.lineTo(-60, -1600);
        ray.lineTo(60, -1600);
        ray.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, i % 2 ? 10 : 0));
        p.drawPath(ray);
    }
    p.restore();
    Confetti(p, QRectF(0, 320, 1000, 1080), rng, 150, 18,
        {QColor(0xF2, 0xC6, 0x5A), QColor(0xFF, 0xF0, 0xC2), QColor(255, 255, 255)});
    DoubleBorder(p, b, 28, QColor(0xD9, 0xAE, 0x52));
    Flourish(p, QPointF(500, 262), 240, QColor(0xE6, 0xB8, 0x4E));
}

void WeddingIvory(QPainter& p, const QRectF& b, Rng& rng)
{
    Q_UNUSED(rng);
    FillRadial(p, b, QPointF(750, 450), QColor(0xFF, 0xFD, 0xF7), QColor(0xEE, 0xE0, 0xC6));
    Damask(p, b, QColor(0xC9, 0xA8, 0x68, 34), 120);
    Vignette(p, b, QColor(0xB8, 0x96, 0x5A, 70), 0.6);
    DoubleBorder(p, b, 26, QColor(0xC9, 0xA0, 0x52));
}

void WeddingBlush(QPainter& p, const QRectF& b, Rng& rng)
{
    FillVertical(p, b, {{0, QColor(0xFF, 0xF8, 0xF5)}, {1, QColor(0xF4, 0xDA, 0xD6)}});
    Bokeh(p, b, rng, 30, 30, 90, {QColor(255, 255, 255, 160), QColor(0xE8, 0xC8, 0x9A, 70)});
    const QColor eucalyptus(0x8F, 0xAE, 0x9C);
    Sprig(p, QPointF(-20, 380), QPointF(40, 300), QPointF(200, 300), 55, eucalyptus, QColor(0xFF, 0xFF, 0xFF),
        QColor(0xE8, 0xC0, 0x7A), rng);
    Sprig(p, QPointF(1020, 380), QPointF(960, 300), QPointF(800, 300), 55, eucalyptus, QColor(0xF6, 0xC6, 0xC6),
        QColor(0xE8, 0xC0, 0x7A), rng);
    Sprig(p, QPointF(-20, 1300), QPointF(100, 1420), QPointF(330, 1380), 60, eucalyptus, QColor(0xF6, 0xC6, 0xC6),
        QColor(0xE8, 0xC0, 0x7A), rng);
    Sprig(p, QPointF(1020, 1300), QPointF(900, 1420), QPointF(670, 1380), 60, eucalyptus, QColor(0xFF, 0xFF, 0xFF),
        QColor(0xE8, 0xC0, 0x7A), rng);
    Flourish(p, QPointF(500, 268), 200, QColor(0xD0, 0xA6, 0x5C));
}

void ChildrenSky(QPainter& p, const QRectF& b, Rng& rng)
{
    FillVertical(p, b, {{0, QColor(0x6C, 0xC8, 0xFA)}, {0.75, QColor(0xD8, 0xF2, 0xFF)}});
    Rainbow(p, QPointF(750, 900), 620, 30);
    Sun(p, QPointF(170, 160), 80, true);
    Cloud(p, QRectF(420, 70, 300, 160), Qt::white);
    Cloud(p, QRectF(1050, 140, 340, 180), Qt::white);
    Cloud(p, QRectF(900, 520, 220, 110), Qt::white);
    Hill(p, b, 780, 45, 0.0, 1.6, QColor(0x9C, 0xE0, 0x5C), QColor(0x6C, 0xC0, 0x3C));
    Hill(p, b, 880, 35, 3.0, 2.4, QColor(0x7E, 0xD0, 0x48), QColor(0x4E, 0xA8, 0x2C));
    for (int i = 0; i < 90; ++i) {
        const QColor petals[]
            = {QColor(0xFF, 0x7A, 0x9C), QColor(0xFF, 0xD9, 0x3D), Qt::white, QColor(0x9C, 0x8C, 0xFF)};
        Blossom(p, QPointF(rng.Range(0, 1500), rng.Range(860, 990)), rng.Range(9, 15), petals[rng.Below(4)],
            QColor(0xFF, 0xA8, 0x1E), rng.Range(0, 72));
    }
}

void ChildrenNight(QPainter& p, const QRectF& b, Rng& rng)
{
    FillVertical(p, b, {{0, QColor(0x24, 0x2E, 0x6E)}, {1, QColor(0x6A, 0x78, 0xC8)}});
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 60; ++i) {
        const QPointF c(rng.Range(20, 980), rng.Range(300, 1380));
        const double r = rng.Range(8, 24);
        const QColor colours[] = {QColor(0xFF, 0xE8, 0x7A), QColor(0xFF, 0xB8, 0xD8), QColor(0xB8, 0xF0, 0xFF)};
        p.setBrush(WithAlpha(colours[rng.Below(3)], int(rng.Range(120, 230))));
        QPainterPath star = StarPath(c, r, r * 0.5, 5, rng.Range(-100, -80));
        p.drawPath(star);
    }
    Sprinkle(p, b, rng, 140, 1.2, 3, QColor(255, 255, 255, 220), false);
    // A crescent moon with a sleepy face.
    Glow(p, QPointF(820, 470), 200, QColor(0xFF, 0xF0, 0xA0, 90));
    QPainterPath moon;
    moon.addEllipse(QPointF(820, 470), 110, 110);
    QPainterPath bite;
    bite.addEllipse(QPointF(870, 430), 100, 100);
    p.setBrush(GlossBrush(QRectF(710, 360, 220, 220), QColor(0xFF, 0xE0, 0x6A)));
    p.drawPath(moon.subtracted(bite));
    p.setPen(QPen(QColor(0x9A, 0x6A, 0x1A), 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(742, 470, 30, 20), 200 * 16, 140 * 16);
    Cloud(p, QRectF(40, 1130, 420, 220), QColor(0xF0, 0xF2, 0xFF));
    Cloud(p, QRectF(560, 1180, 480, 240), QColor(0xF0, 0xF2, 0xFF));
}

// --- Square cards: a calm band at the top for the greeting, the motif gathered below and round it ----

void ChristmasGreen(QPainter& p, const QRectF& b, Rng& rng)
{
    FillRadial(p, b, QPointF(600, 520), QColor(0x1E, 0x6A, 0x3C), QColor(0x06, 0x26, 0x14));
    for (int i = 0; i < 30; ++i)
        Snowflake(p, QPointF(rng.Range(40, 1160), rng.Range(330, 1000)), rng.Range(12, 34), QColor(255, 255, 255, 50),
            2, rng.Range(0, 60));
    // A row of snowy firs along the foot of the card.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 9; ++i) {
        const double x = 40 + i * 140 + rng.Range(-20, 20);
        const double h = rng.Range(150, 230);
        p.setBrush(VerticalGradient(
            QRectF(x, 1210 - h, 1, h), {{0, QColor(0x4E, 0x9E, 0x62)}, {1, QColor(0x1C, 0x5A, 0x32)}}));
        p.drawPath(PineTreePath(QPointF(x, 1210), h, h * 0.6, 4));
    }
    Sprinkle(p, b, rng, 220, 1.5, 4, QColor(255, 255, 255, 200), true);
    DoubleBorder(p, b, 26, QColor(0xE2, 0xB6, 0x58));
    Flourish(p, QPointF(600, 290), 260, QColor(0xE8, 0xC0, 0x6A));
}

void NewYearMidnight(QPainter& p, const QRectF& b, Rng& rng)
{
    FillVertical(p, b, {{0, QColor(0x10, 0x0C, 0x2E)}, {1, QColor(0x3A, 0x16, 0x4E)}});
    Stars(p, QRectF(0, 0, 1200, 300), rng, 60, QColor(255, 255, 255));
    Fireworks(p, QPointF(190, 1010), 210, QColor(0xFF, 0xC8, 0x4A), rng);
    Fireworks(p, QPointF(1010, 980), 240, QColor(0xFF, 0x5C, 0xC1), rng);
    Fireworks(p, QPointF(600, 1120), 150, QColor(0x4E, 0xE2, 0xFF), rng);
    Bokeh(p, QRectF(0, 320, 1200, 880), rng, 40, 16, 50, {QColor(0xF5, 0xC8, 0x5C, 90)});
    Confetti(p, QRectF(0, 330, 1200, 870), rng, 120, 14, {QColor(0xF2, 0xC6, 0x5A), QColor(0xE8, 0xE8, 0xEE)});
    Flourish(p, QPointF(600, 290), 260, QColor(0xE6, 0xB8, 0x4E));
}

void ValentinePink(QPainter& p, const QRectF& b, Rng& rng)
{
    FillVertical(p, b, {{0, QColor(0xFF, 0xF4, 0xF6)}, {1, QColor(0xFB, 0xC8, 0xD6)}});
    // One large heart drawn as a ring of small ones, behind the photos.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xE8, 0x4A, 0x78, 60));
    for (int i = 0; i < 64; ++i) {
        const double t = 2 * std::numbers::pi * i / 64;
        const double x = 16 * std::pow(std::sin(t), 3);
        const double y = 13 * std::cos(t) - 5 * std::cos(2 * t) - 2 * std::cos(3 * t) - std::cos(4 * t);
        const QPointF c(600 + x * 27, 720 - y * 27);
        p.drawPath(HeartPath(QRectF(c.x() - 15, c.y() - 14, 30, 27)));
    }
    ScatterHearts(p, QRectF(0, 320, 1200, 880), rng, 40, 20, 50, QColor(0xFF, 0xFF, 0xFF, 170));
    DoubleBorder(p, b, 26, QColor(0xD9, 0x6A, 0x8C));
    Flourish(p, QPointF(600, 290), 260, QColor(0xD9, 0x6A, 0x8C));
}

void HalloweenPumpkin(QPainter& p, const QRectF& b, Rng& rng)
{
    FillVertical(p, b,
        {{0, QColor(0x1A, 0x08, 0x2A)}, {0.55, QColor(0x3E, 0x14, 0x4A)}, {0.85, QColor(0xB8, 0x4E, 0x1E)},
            {1, QColor(0xE8, 0x8A, 0x2C)}});
    Stars(p, QRectF(0, 0, 1200, 600), rng, 70, QColor(255, 236, 210));
    Glow(p, QPointF(600, 1200), 520, QColor(0xFF, 0x9A, 0x2A, 110));
    p.setPen(Qt::NoPen);
    Hill(p, b, 1080, 30, 0.8, 1.8, QColor(0x16, 0x06, 0x18), QColor(0x0C, 0x02, 0x0E));
    p.setBrush(QColor(0x10, 0x04, 0x12));
    BareTree(p, QPointF(90, 1120), 200, -4, 28, 6, rng);
    BareTree(p, QPointF(1120, 1120), 180, 5, 26, 6, rng);
    SpiderWeb(p, QPointF(1200, 1200), 260, 180, QColor(255, 255, 255, 50));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0C, 0x02, 0x10, 220));
    for (int i = 0; i < 7; ++i)
        Bat(p, QPointF(rng.Range(80, 1120), rng.Range(340, 760)), rng.Range(30, 58));
}

void ThanksgivingWheat(QPainter& p, const QRectF& b, Rng& rng)
{
    FillRadial(p, b, QPointF(600, 500), QColor(0xFF, 0xF6, 0xE6), QColor(0xEC, 0xCF, 0x9E));
    Dots(p, QRectF(0, 330, 1200, 870), 64, 4, {QColor(0xC8, 0x8A, 0x3A, 60)});
    FallingLeaves(p, QRectF(0, 340, 1200, 520), rng, 16, 50, 100);
    for (int i = 0; i < 6; ++i) {
        Wheat(p, QPointF(60 + i * 16, 1230), 380 - i * 26, 50 + i * 30);
        Wheat(p, QPointF(1140 - i * 16, 1230), 380 - i * 26, -50 - i * 30);
    }
    Vignette(p, b, QColor(0x8A, 0x4A, 0x12, 90), 0.62);
    Flourish(p, QPointF(600, 290), 240, QColor(0xB0, 0x62, 0x1E));
}

void MothersPeach(QPainter& p, const QRectF& b, Rng& rng)
{
    FillVertical(p, b, {{0, QColor(0xFF, 0xF5, 0xEE)}, {1, QColor(0xFB, 0xD6, 0xC2)}});
    const QColor leaf(0x7F, 0xA8, 0x7A);
    // A garland round the lower two thirds, open at the top for the greeting.
    Sprig(p, QPointF(-20, 420), QPointF(0, 900), QPointF(380, 1220), 58, leaf, QColor(0xF4, 0x8F, 0xAE),
        QColor(0xFF, 0xD8, 0x6A), rng);
    Sprig(p, QPointF(1220, 420), QPointF(1200, 900), QPointF(820, 1220), 58, leaf, QColor(0xF7, 0xB9, 0x8C),
        QColor(0xC4, 0x5A, 0x7A), rng);
    for (int i = 0; i < 26; ++i) {
        const double t = std::numbers::pi * (0.1 + 0.8 * i / 25.0);
        const QPointF c(600 - 610 * std::cos(t), 640 + 560 * std::sin(t));
        const QColor petals[] = {QColor(0xF4, 0x8F, 0xAE), QColor(0xFF, 0xFF, 0xFF), QColor(0xC9, 0xA6, 0xE8)};
        Blossom(p, c, rng.Range(12, 22), petals[i % 3], QColor(0xFF, 0xC8, 0x4A), rng.Range(0, 72));
    }
    Flourish(p, QPointF(600, 290), 240, QColor(0xC0, 0x6A, 0x9A));
}

void FathersSlate(QPainter& p, const QRectF& b, Rng& rng)
{
    Q_UNUSED(rng);
    FillRadial(p, b, QPointF(600, 420), QColor(0x5A, 0x66, 0x74), QColor(0x22, 0x2A, 0x34));
    // Diagonal repp stripes, as on a tie, below the greeting's band.
    p.save();
    p.setClipRect(QRectF(0, 330, 1200, 870));
    for (double d = -1200; d < 1200; d += 90) {
        p.setPen(QPen(QColor(0xC8, 0x2E, 0x3A, 70), 22));
        p.drawLine(QPointF(d, 1200), QPointF(d + 1200, 0));
        p.setPen(QPen(QColor(0xE8, 0xD8, 0xB8, 50), 6));
        p.drawLine(QPointF(d + 30, 1200), QPointF(d + 1230, 0));
    }
    p.restore();
    // A cream rule closes the striped field under the greeting.
    p.setPen(QPen(QColor(0xE8, 0xD8, 0xB8, 200), 6));
    p.drawLine(QPointF(0, 330), QPointF(1200, 330));
    p.setPen(QPen(QColor(0xE8, 0xD8, 0xB8, 140), 2));
    p.drawLine(QPointF(0, 342), QPointF(1200, 342));
    Vignette(p, b, QColor(0x06, 0x0A, 0x10, 170));
    DoubleBorder(p, b, 24, QColor(0xC8, 0xCC, 0xD4, 200));
    Flourish(p, QPointF(600, 290), 240, QColor(0xE0, 0xD0, 0xA8));
}

void EasterMint(QPainter& p, const QRectF& b, Rng& rng)
{
    FillVertical(p, b, {{0, QColor(0xF0, 0xFF, 0xF8)}, {1, QColor(0xBE, 0xEC, 0xD8)}});
    Dots(p, QRectF(0, 330, 1200, 870), 90, 10,
        {QColor(0xF7, 0xA8, 0xC4, 80), QColor(0xFF, 0xE0, 0x7A, 90), QColor(0xC2, 0xB0, 0xF2, 80)});
    Hill(p, b, 1090, 26, 1.2, 2.0, QColor(0x8C, 0xCC, 0x52), QColor(0x5E, 0xA0, 0x32));
    for (int i = 0; i < 70; ++i) {
        const QColor petals[]
            = {Qt::white, QColor(0xFF, 0xE0, 0x6A), QColor(0xFF, 0xB0, 0xC8), QColor(0xC8, 0xA8, 0xFF)};
        Blossom(p, QPointF(rng.Range(0, 1200), rng.Range(1100, 1190)), rng.Range(8, 14), petals[rng.Below(4)],
            QColor(0xFF, 0xB8, 0x2A), rng.Range(0, 72));
    }
    DoubleBorder(p, b, 26, QColor(0x7A, 0xC0, 0xA0));
    Flourish(p, QPointF(600, 290), 240, QColor(0xC8, 0x6A, 0xB0));
}

void BirthdayStripes(QPainter& p, const QRectF& b, Rng& rng)
{
    p.fillRect(b, QColor(0xFF, 0xFB, 0xF2));
    const QColor stripes[] = {QColor(0xFF, 0xD6, 0xE2), QColor(0xFF, 0xF0, 0xC4), QColor(0xCC, 0xEE, 0xF4)};
    for (int i = 0; i < 12; ++i)
        p.fillRect(QRectF(i * 100 + 25, 330, 50, 870), WithAlpha(stripes[i % 3], 150));
    Bunting(p, QPointF(-20, 10), QPointF(1220, 10), 36, 48,
        {QColor(0xFF, 0x5C, 0x8A), QColor(0xFF, 0xC1, 0x3B), QColor(0x3D, 0xC1, 0xD3), QColor(0x8E, 0x6C, 0xF0)});
    Confetti(p, QRectF(0, 330, 1200, 870), rng, 180, 18,
        {QColor(0xFF, 0x5C, 0x8A), QColor(0xFF, 0xC1, 0x3B), QColor(0x3D, 0xC1, 0xD3), QColor(0x6B, 0xD0, 0x6B)});
    Flourish(p, QPointF(600, 290), 240, QColor(0xE0, 0x30, 0x7E));
}

void GraduationLaurel(QPainter& p, const QRectF& b, Rng& rng)
{
    FillRadial(p, b, QPointF(600, 480), QColor(0x7A, 0x1A, 0x2E), QColor(0x2A, 0x06, 0x10));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 36; ++i) {
        const QPointF c(rng.Range(40, 1160), rng.Range(340, 1160));
        const double r = rng.Range(6, 16);
        p.setBrush(QColor(0xF2, 0xCC, 0x6A, int(rng.Range(80, 200))));
        p.drawPath(StarPath(c, r, r * 0.42, 5, rng.Range(-90, -60)));
    }
    // A laurel wreath open at the top, in gold.
    const QColor gold(0xD9, 0xAE, 0x52);
    Sprig(p, QPointF(600, 1160), QPointF(80, 1120), QPointF(120, 420), 52, gold, gold, gold, rng);
    Sprig(p, QPointF(600, 1160), QPointF(1120, 1120), QPointF(1080, 420), 52, gold, gold, gold, rng);
    Vignette(p, b, QColor(0, 0, 0, 120));
    DoubleBorder(p, b, 24, gold);
    Flourish(p, QPointF(600, 290), 240, QColor(0xE6, 0xB8, 0x4E));
}

void WeddingSage(QPainter& p, const QRectF& b, Rng& rng)
{
    FillVertical(p, b, {{0, QColor(0xFB, 0xFA, 0xF3)}, {1, QColor(0xE2, 0xEA, 0xDC)}});
    Damask(p, QRectF(0, 330, 1200, 870), QColor(0x8F, 0xAE, 0x9C, 30), 110);
    const QColor eucalyptus(0x8F, 0xAE, 0x9C);
    Sprig(p, QPointF(-20, 1220), QPointF(60, 980), QPointF(300, 900), 60, eucalyptus, QColor(0xFF, 0xFF, 0xFF),
        QColor(0xE8, 0xC0, 0x7A), rng);
    Sprig(p, QPointF(1220, 1220), QPointF(1140, 980), QPointF(900, 900), 60, eucalyptus, QColor(0xF6, 0xC6, 0xC6),
        QColor(0xE8, 0xC0, 0x7A), rng);
    Sprig(p, QPointF(-20, 340), QPointF(60, 500), QPointF(40, 700), 46, eucalyptus, QColor(0xF6, 0xC6, 0xC6),
        QColor(0xE8, 0xC0, 0x7A), rng);
    Sprig(p, QPointF(1220, 340), QPointF(1140, 500), QPointF(1160, 700), 46, eucalyptus, QColor(0xFF, 0xFF, 0xFF),
        QColor(0xE8, 0xC0, 0x7A), rng);
    DoubleBorder(p, b, 26, QColor(0xC9, 0xA0, 0x52));
    Flourish(p, QPointF(600, 290), 240, QColor(0xC9, 0xA0, 0x52));
}

void ChildrenMeadow(QPainter& p, const QRectF& b, Rng& rng)
{
    FillVertical(p, b, {{0, QColor(0xFF, 0xF6, 0xD8)}, {0.7, QColor(0xD8, 0xF0, 0xFF)}});
    Sun(p, QPointF(1060, 420), 70, true);
    Cloud(p, QRectF(70, 380, 260, 130), Qt::white);
    Rainbow(p, QPointF(600, 1300), 330, 26);
    Hill(p, b, 1060, 36, 0.4, 1.8, QColor(0x9C, 0xE0, 0x5C), QColor(0x6C, 0xC0, 0x3C));
    for (int i = 0; i < 60; ++i) {
        const QColor petals[]
            = {QColor(0xFF, 0x7A, 0x9C), QColor(0xFF, 0xD9, 0x3D), Qt::white, QColor(0x9C, 0x8C, 0xFF)};
        Blossom(p, QPointF(rng.Range(0, 1200), rng.Range(1080, 1190)), rng.Range(9, 15), petals[rng.Below(4)],
            QColor(0xFF, 0xA8, 0x1E), rng.Range(0, 72));
    }
    Dots(p, QRectF(0, 0, 1200, 300), 60, 3, {QColor(0xFF, 0xC8, 0x6A, 90)});
}

struct Background {
    const char* szName;
    QSize size;
    Painter paint;
    int nGrain; // strength of the paper grain laid over the finished picture
};

} // namespace

void WriteBackgrounds(const QDir& dir, Resources& resources)
{
    const Background kBackgrounds[] = {
        {"christmas_night.jpg", kLandscape, ChristmasNight, 2},
        {"christmas_red.jpg", kPortrait, ChristmasRed, 2},
        {"newyear_fireworks.jpg", kLandscape, NewYearFireworks, 2},
        {"newyear_gold.jpg", kPortrait, NewYearGold, 2},
        {"valentine_blush.jpg", kLandscape, ValentineBlush, 2},
        {"valentine_red.jpg", kPortrait, ValentineRed, 2},
        {"halloween_moon.jpg", kLandscape, HalloweenMoon, 2},
        {"halloween_night.jpg", kPortrait, HalloweenNight, 2},
        {"thanksgiving_autumn.jpg", kLandscape, ThanksgivingAutumn, 2},
        {"thanksgiving_harvest.jpg", kPortrait, ThanksgivingHarvest, 2},
        {"mothers_floral.jpg", kLandscape, MothersFloral, 5},
        {"mothers_lilac.jpg", kPortrait, MothersLilac, 5},
        {"fathers_navy.jpg", kLandscape, FathersNavy, 2},
        {"fathers_plaid.jpg", kPortrait, FathersPlaid, 2},
        {"easter_meadow.jpg", kLandscape, EasterMeadow, 2},
        {"easter_pastel.jpg", kPortrait, EasterPastel, 2},
        {"birthday_confetti.jpg", kLandscape, BirthdayConfetti, 2},
        {"birthday_party.jpg", kPortrait, BirthdayParty, 2},
        {"graduation_navy.jpg", kLandscape, GraduationNavy, 2},
        {"graduation_gold.jpg", kPortrait, GraduationGold, 2},
        {"wedding_ivory.jpg", kLandscape, WeddingIvory, 5},
        {"wedding_blush.jpg", kPortrait, WeddingBlush, 5},
        {"children_sky.jpg", kLandscape, ChildrenSky, 2},
        {"children_night.jpg", kPortrait, ChildrenNight, 2},
        {"christmas_green.jpg", kSquare, ChristmasGreen, 2},
        {"newyear_midnight.jpg", kSquare, NewYearMidnight, 2},
        {"valentine_pink.jpg", kSquare, ValentinePink, 2},
        {"halloween_pumpkin.jpg", kSquare, HalloweenPumpkin, 2},
        {"thanksgiving_wheat.jpg", kSquare, ThanksgivingWheat, 5},
        {"mothers_peach.jpg", kSquare, MothersPeach, 5},
        {"fathers_slate.jpg", kSquare, FathersSlate, 2},
        {"easter_mint.jpg", kSquare, EasterMint, 2},
        {"birthday_stripes.jpg", kSquare, BirthdayStripes, 5},
        {"graduation_laurel.jpg", kSquare, GraduationLaurel, 2},
        {"wedding_sage.jpg", kSquare, WeddingSage, 5},
        {"children_meadow.jpg", kSquare, ChildrenMeadow, 2},
    };
    const int nCount = int(std::size(kBackgrounds));
    for (const Background& background : kBackgrounds)
        resources.backgrounds[QString::fromLatin1(background.szName)] = background.size;
    Parallel(nCount, [&](int i) {
        const Background& background = kBackgrounds[i];
        QImage image = NewImage(background.size.width(), background.size.height(), Qt::white);
        {
            QPainter painter(&image);
            Prepare(painter);
            Rng rng(std::uint64_t(i) + 1);
            background.paint(painter, QRectF(QPointF(0, 0), QSizeF(background.size)), rng);
        }
        Grain(image, std::uint64_t(i) + 101, background.nGrain);
        Save(image, dir.filePath(QString::fromLatin1(background.szName)));
    });
}

} // namespace art
