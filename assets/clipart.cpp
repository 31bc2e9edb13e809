// Clip-art elements: shaded pictures with a transparent surround and a soft shadow beneath.
#include <cmath>
#include <functional>
#include <numbers>
#include <tuple>

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include "assets/artkit.h"
#include "assets/resources.h"

namespace art {

namespace {

// Elements are designed on a grid about 360 units tall and written a third larger, so that they stay
// sharp at the sizes templates give them. Room around every element for its shadow, in design units.
constexpr double kScale = 4.0 / 3.0;
constexpr double kPad = 24;

using Draw = std::function<void(QPainter&, const QRectF&)>;

QPointF At(const QRectF& b, double x, double y)
{
    return {b.left() + b.width() * x, b.top() + b.height() * y};
}

QRectF Part(const QRectF& b, double x, double y, double w, double h)
{
    return {b.left() + b.width() * x, b.top() + b.height() * y, b.width() * w, b.height() * h};
}

QPen Line(QColor colour, double dWidth)
{
    QPen pen(colour, dWidth);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// Fills the path with a glossy shade of the colour, outlines it a little darker and adds a highlight.
void Glossy(QPainter& p, const QPainterPath& path, QColor colour, double dOutline = 0, double dShine = 0.5)
{
    const QRectF box = path.boundingRect();
    p.setPen(dOutline > 0 ? Line(Mix(colour, Qt::black, 0.45), dOutline) : Qt::NoPen);
    p.setBrush(GlossBrush(box, colour));
    p.drawPath(path);
    if (dShine > 0)
        Highlight(p, path, box, dShine);
}

void Star(QPainter& p, const QRectF& b, QColor colour)
{
    const QPointF c = At(b, 0.5, 0.53);
    const double r = b.width() * 0.5;
    QPainterPath star = StarPath(c, r, r * 0.45, 5);
    QPainterPathStroker round;
    round.setWidth(r * 0.08);
    round.setJoinStyle(Qt::RoundJoin);
    star = star.united(round.createStroke(star)).simplified();
    p.setPen(Qt::NoPen);
    p.setBrush(MetalBrush(b, colour, 55));
    p.drawPath(star);
    // Facets: each arm lit on one side.
    for (int i = 0; i < 5; ++i) {
        const double a = (-90 + i * 72) * std::numbers::pi / 180;
        const double a2 = (-90 + i * 72 + 36) * std::numbers::pi / 180;
        QPainterPath facet;
        facet.moveTo(c);
        facet.lineTo(c + QPointF(std::cos(a), std::sin(a)) * r);
        facet.lineTo(c + QPointF(std::cos(a2), std::sin(a2)) * r * 0.45);
        facet.closeSubpath();
        p.setBrush(QColor(255, 255, 255, 60));
        p.drawPath(facet);
    }
    Highlight(p, star, b, 0.35);
}

void Bell(QPainter& p, const QRectF& b)
{
    const QColor gold(0xE2, 0xB0, 0x3A);
    QPainterPath bell;
    bell.moveTo(At(b, 0.5, 0.16));
    bell.cubicTo(At(b, 0.74, 0.16), At(b, 0.76, 0.42), At(b, 0.78, 0.6));
    bell.cubicTo(At(b, 0.8, 0.72), At(b, 0.92, 0.76), At(b, 0.92, 0.82));
    bell.lineTo(At(b, 0.08, 0.82));
    bell.cubicTo(At(b, 0.08, 0.76), At(b, 0.2, 0.72), At(b, 0.22, 0.6));
    bell.cubicTo(At(b, 0.24, 0.42), At(b, 0.26, 0.16), At(b, 0.5, 0.16));
    p.setPen(Qt::NoPen);
    p.setBrush(GlossBrush(b, QColor(0x9A, 0x6A, 0x10)));
    p.drawEllipse(At(b, 0.5, 0.86), b.width() * 0.09, b.width() * 0.09);
    p.setBrush(MetalBrush(b, gold, 10));
    p.drawPath(bell);
    p.setBrush(
        VerticalGradient(Part(b, 0, 0.78, 1, 0.08), {{0, Mix(gold, Qt::white, 0.4)}, {1, Mix(gold, Qt::black, 0.3)}}));
    p.drawRoundedRect(Part(b, 0.06, 0.78, 0.88, 0.07), 8, 8);
    Highlight(p, bell, Part(b, 0.2, 0.16, 0.5, 0.6), 0.5);
    // A red bow with holly on top.
    const QColor red(0xC8, 0x1A, 0x2A);
    for (int side : {-1, 1}) {
        QPainterPath loop;
        const QPointF k = At(b, 0.5, 0.15);
        loop.moveTo(k);
        loop.cubicTo(k + QPointF(side * b.width() * 0.1, -b.height() * 0.16),
            k + QPointF(side * b.width() * 0.3, -b.height() * 0.1), k + QPointF(side * b.width() * 0.26, 0));
        loop.cubicTo(k + QPointF(side * b.width() * 0.22, b.height() * 0.05),
            k + QPointF(side * b.width() * 0.08, b.height() * 0.04), k);
        Glossy(p, loop, red, 0, 0.3);
    }
    p.setBrush(GlossBrush(Part(b, 0.44, 0.1, 0.12, 0.1), red));
    p.drawEllipse(At(b, 0.5, 0.15), b.width() * 0.055, b.width() * 0.05);
}

void Bauble(QPainter& p, const QRectF& b, QColor colour, int nPattern)
{
    // A round ball at the bottom of the box, its cap and hanger above it.
    const double d = std::min(b.width() * 0.9, b.height() * 0.78);
    const QRectF ball(b.center().x() - d / 2, b.bottom() - d, d, d);
    const QPainterPath sphere = EllipsePath(ball);
    const QRectF cap(ball.center().x() - d * 0.14, ball.top() - d * 0.1, d * 0.28, d * 0.14);
    p.setPen(Line(QColor(0xB0, 0x8A, 0x3A), b.width() * 0.018));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(cap.center().x(), cap.top() - d * 0.06), d * 0.06, d * 0.07);
    Glossy(p, sphere, colour, 0, 0);
    p.save();
    p.setClipPath(sphere);
    const QColor trim(0xF4, 0xD3, 0x7A);
    if (nPattern == 0) {
        // A band with a zigzag.
        p.setPen(Qt::NoPen);
        p.setBrush(WithAlpha(trim, 220));
        p.drawRect(Part(ball, 0, 0.44, 1, 0.13));
        QPainterPath zig;
        for (int i = 0; i <= 12; ++i) {
            const QPointF q = At(ball, i / 12.0, i % 2 ? 0.46 : 0.55);
            if (i == 0)
                zig.moveTo(q);
            else
                zig.lineTo(q);
        }
        p.setPen(Line(Mix(colour, Qt::black, 0.3), b.width() * 0.015));
        p.setBrush(Qt::NoBrush);
        p.drawPath(zig);
    } else if (nPattern == 1) {
        // Snowflakes.
        for (int i = 0; i < 3; ++i)
            Snowflake(p, At(ball, 0.25 + i * 0.25, 0.45 + (i % 2) * 0.15), d * 0.1, QColor(255, 255, 255, 220),
                b.width() * 0.014, i * 15);
    } else {
        // Stripes curved round the sphere.
        p.setPen(Line(WithAlpha(trim, 200), b.width() * 0.03));
        p.setBrush(Qt::NoBrush);
        for (int i = -2; i <= 2; ++i)
            p.drawArc(
                QRectF(ball.center().x() - ball.width() * (0.15 + 0.2 * std::abs(i)) / 2 + i * ball.width() * 0.18,
                    ball.top() - 5, ball.width() * 0.3, ball.height() + 10),
                0, 360 * 16);
    }
    p.restore();
    Highlight(p, sphere, ball, 0.6);
    p.setPen(Qt::NoPen);
    p.setBrush(MetalBrush(cap, QColor(0xD8, 0xB0, 0x50), 0));
    p.drawRoundedRect(cap, 4, 4);
}

void SnowflakeArt(QPainter& p, const QRectF& b)
{
    const QPointF c = b.center();
    Snowflake(p, c, b.width() * 0.48, QColor(0x9C, 0xC8, 0xEE), b.width() * 0.05);
    Snowflake(p, c, b.width() * 0.48, QColor(0xF4, 0xFA, 0xFF), b.width() * 0.028);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xE0, 0xF0, 0xFF));
    p.drawPath(StarPath(c, b.width() * 0.1, b.width() * 0.05, 6, -90));
}

void Holly(QPainter& p, const QRectF& b)
{
    auto leaf = [&](double dAngle) {
        p.save();
        p.translate(At(b, 0.5, 0.55));
        p.rotate(dAngle);
        const double L = b.width() * 0.46;
        const double W = b.width() * 0.18;
        QPainterPath path;
        path.moveTo(0, 0);
        const int n = 4;
        for (int i = 1; i <= n; ++i) {
            const double t = double(i) / n;
            const double w = W * std::sin(std::numbers::pi * (t - 0.5 / n));
            path.quadTo(w * 0.5, -L * (t - 0.5 / n), w, -L * (t - 0.35 / n));
            path.lineTo(i == n ? 0 : w * 0.7, -L * t);
        }
        for (int i = n; i >= 1; --i) {
            const double t = double(i) / n;
            const double w = W * std::sin(std::numbers::pi * (t - 0.5 / n));
            path.lineTo(-w, -L * (t - 0.35 / n));
            path.quadTo(-w * 0.5, -L * (t - 0.5 / n), i == 1 ? 0 : -w * 0.7, -L * (t - 1.0 / n));
        }
        path.closeSubpath();
        Glossy(p, path, QColor(0x1F, 0x7A, 0x3A), 2, 0.3);
        p.setPen(Line(QColor(0x9C, 0xD8, 0x9C, 160), 2));
        p.drawLine(QPointF(0, 0), QPointF(0, -L * 0.9));
        p.restore();
    };
    leaf(-60);
    leaf(55);
    leaf(-5);
    for (const QPointF& c : {At(b, 0.44, 0.6), At(b, 0.58, 0.58), At(b, 0.51, 0.7)})
        Glossy(p,
            EllipsePath(
                QRectF(c - QPointF(b.width() * 0.075, b.width() * 0.075), QSizeF(b.width() * 0.15, b.width() * 0.15))),
            QColor(0xD0, 0x18, 0x28), 0, 0.7);
}

void CandyCane(QPainter& p, const QRectF& b)
{
    QPainterPath cane;
    cane.moveTo(At(b, 0.62, 0.98));
    cane.lineTo(At(b, 0.62, 0.3));
    cane.cubicTo(At(b, 0.62, 0.02), At(b, 0.2, 0.02), At(b, 0.22, 0.3));
    QPainterPathStroker thick;
    thick.setWidth(b.width() * 0.16);
    thick.setCapStyle(Qt::RoundCap);
    const QPainterPath body = thick.createStroke(cane).simplified();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFB, 0xFB, 0xFB));
    p.drawPath(body);
    p.save();
    p.setClipPath(body);
    p.setPen(QPen(QColor(0xD2, 0x1F, 0x30), b.width() * 0.06));
    for (double y = -b.height(); y < 2 * b.height(); y += b.width() * 0.16)
        p.drawLine(QPointF(b.left(), b.top() + y), QPointF(b.right(), b.top() + y - b.width() * 0.6));
    QLinearGradient shade(At(b, 0.54, 0), At(b, 0.7, 0));
    shade.setColorAt(0, QColor(255, 255, 255, 130));
    shade.setColorAt(0.5, QColor(255, 255, 255, 0));
    shade.setColorAt(1, QColor(0, 0, 0, 70));
    p.fillRect(b, shade);
    p.restore();
}

void ChristmasTree(QPainter& p, const QRectF& b)
{
    const QPainterPath tree = PineTreePath(At(b, 0.5, 0.98), b.height() * 0.86, b.width() * 0.9, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x6A, 0x3E, 0x1E));
    p.drawRect(Part(b, 0.44, 0.86, 0.12, 0.12));
    QLinearGradient green(b.topLeft(), b.topRight());
    green.setColorAt(0, QColor(0x3C, 0x9A, 0x52));
    green.setColorAt(1, QColor(0x14, 0x5A, 0x2C));
    p.setBrush(green);
    p.drawPath(tree);
    // A garland and baubles.
    p.save();
    p.setClipPath(tree);
    p.setPen(Line(QColor(0xF6, 0xD2, 0x62), b.width() * 0.02));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
        QPainterPath garland;
        const double y = 0.3 + i * 0.16;
        garland.moveTo(At(b, 0.1, y - 0.06));
        garland.quadTo(At(b, 0.5, y + 0.08), At(b, 0.9, y - 0.02));
        p.drawPath(garland);
    }
    p.restore();
    const QColor colours[] = {QColor(0xD8, 0x24, 0x32), QColor(0x2E, 0x7A, 0xE0), QColor(0xF2, 0xB8, 0x2E)};
    const double spots[][2]
        = {{0.42, 0.36}, {0.58, 0.48}, {0.34, 0.6}, {0.66, 0.66}, {0.5, 0.74}, {0.26, 0.8}, {0.74, 0.82}, {0.46, 0.56}};
    int n = 0;
    for (const auto& s : spots) {
        const QPointF c = At(b, s[0], s[1]);
        const double r = b.width() * 0.04;
        Glossy(p, EllipsePath(QRectF(c - QPointF(r, r), QSizeF(2 * r, 2 * r))), colours[n++ % 3], 0, 0.8);
    }
    Star(p, Part(b, 0.38, 0.0, 0.24, 0.22), QColor(0xF4, 0xC4, 0x3A));
}

void Gift(QPainter& p, const QRectF& b, QColor box, QColor ribbon)
{
    const QRectF body = Part(b, 0.1, 0.42, 0.8, 0.56);
    const QRectF lid = Part(b, 0.04, 0.3, 0.92, 0.16);
    p.setPen(Qt::NoPen);
    p.setBrush(VerticalGradient(body, {{0, Mix(box, Qt::black, 0.25)}, {0.1, box}, {1, Mix(box, Qt::black, 0.2)}}));
    p.drawRect(body);
    p.setBrush(VerticalGradient(lid, {{0, Mix(box, Qt::white, 0.25)}, {1, box}}));
    p.drawRoundedRect(lid, 4, 4);
    // Polka dots on the paper.
    p.save();
    p.setClipRect(body);
    p.setBrush(QColor(255, 255, 255, 70));
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 4; ++j)
            p.drawEllipse(
                At(body, 0.1 + i * 0.22 + (j % 2) * 0.11, 0.1 + j * 0.28), b.width() * 0.025, b.width() * 0.025);
    p.restore();
    const QRectF vertical = Part(b, 0.44, 0.3, 0.12, 0.68);
    p.setBrush(QLinearGradient(vertical.topLeft(), vertical.topRight()));
    QLinearGradient band(vertical.topLeft(), vertical.topRight());
    band.setColorAt(0, Mix(ribbon, Qt::black, 0.2));
    band.setColorAt(0.5, Mix(ribbon, Qt::white, 0.3));
    band.setColorAt(1, Mix(ribbon, Qt::black, 0.2));
    p.setBrush(band);
    p.drawRect(vertical);
    p.setBrush(VerticalGradient(lid, {{0, Mix(ribbon, Qt::white, 0.3)}, {1, ribbon}}));
    p.drawRect(QRectF(lid.left(), lid.top() + lid.height() * 0.3, lid.width(), lid.height() * 0.4));
    for (int side : {-1, 1}) {
        QPainterPath loop;
        const QPointF k = At(b, 0.5, 0.3);
        loop.moveTo(k);
        loop.cubicTo(k + QPointF(side * b.width() * 0.1, -b.height() * 0.3),
            k + QPointF(side * b.width() * 0.42, -b.height() * 0.24),
            k + QPointF(side * b.width() * 0.3, -b.height() * 0.04));
        loop.cubicTo(
            k + QPointF(side * b.width() * 0.22, b.height() * 0.02), k + QPointF(side * b.width() * 0.1, 0), k);
        Glossy(p, loop, ribbon, 0, 0.35);
    }
    Glossy(p,
        EllipsePath(QRectF(At(b, 0.5, 0.28) - QPointF(b.width() * 0.07, b.width() * 0.06),
            QSizeF(b.width() * 0.14, b.width() * 0.12))),
        ribbon, 0, 0.5);
}

void Champagne(QPainter& p, const QRectF& b)
{
    auto glass = [&](double dAngle, double dx) {
        p.save();
        p.translate(At(b, 0.5 + dx, 0.98));
        p.rotate(dAngle);
        const double w = b.width() * 0.3;
        const double h = b.height() * 0.92;
        QPainterPath bowl;
        bowl.moveTo(-w / 2, -h);
        bowl.lineTo(w / 2, -h);
        bowl.cubicTo(w / 2, -h * 0.6, w * 0.12, -h * 0.5, w * 0.05, -h * 0.45);
        bowl.lineTo(-w * 0.05, -h * 0.45);
        bowl.cubicTo(-w * 0.12, -h * 0.5, -w / 2, -h * 0.6, -w / 2, -h);
        QPainterPath wine;
        wine.addRect(QRectF(-w, -h * 0.82, 2 * w, h));
        p.setPen(Qt::NoPen);
        p.setBrush(VerticalGradient(
            QRectF(0, -h, 1, h * 0.55), {{0, QColor(0xFF, 0xE8, 0x9A, 230)}, {1, QColor(0xE8, 0xB0, 0x3A, 240)}}));
        p.drawPath(bowl.intersected(wine));
        p.setBrush(QColor(255, 255, 255, 200));
        for (int i = 0; i < 7; ++i)
            p.drawEllipse(QPointF(-w * 0.2 + (i % 3) * w * 0.18, -h * (0.55 + i * 0.035)), 2.5, 2.5);
        p.setPen(Line(QColor(0xC8, 0xD8, 0xE8, 230), 3.5));
        p.setBrush(QColor(255, 255, 255, 40));
        p.drawPath(bowl);
        p.drawLine(QPointF(0, -h * 0.45), QPointF(0, -h * 0.04));
        p.drawLine(QPointF(-w * 0.32, 0), QPointF(w * 0.32, 0));
        p.setPen(Line(QColor(255, 255, 255, 180), 3));
        p.drawLine(QPointF(-w * 0.34, -h * 0.95), QPointF(-w * 0.3, -h * 0.7));
        p.restore();
    };
    glass(-14, -0.16);
    glass(14, 0.16);
    // A burst where the glasses meet.
    p.setPen(Line(QColor(0xF6, 0xC8, 0x4A), 4));
    for (int i = 0; i < 5; ++i) {
        const double a = (-150 + i * 30) * std::numbers::pi / 180;
        const QPointF c = At(b, 0.5, 0.1);
        p.drawLine(c + QPointF(std::cos(a), std::sin(a)) * b.width() * 0.05,
            c + QPointF(std::cos(a), std::sin(a)) * b.width() * 0.13);
    }
}

void Sparkle(QPainter& p, const QRectF& b)
{
    const QPointF c = b.center();
    QRadialGradient glow(c, b.width() * 0.5);
    glow.setColorAt(0, QColor(0xFF, 0xF4, 0xC0, 200));
    glow.setColorAt(1, QColor(0xFF, 0xC8, 0x40, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(c, b.width() * 0.5, b.width() * 0.5);
    p.setBrush(QColor(0xFF, 0xE0, 0x70));
    p.drawPath(StarPath(c, b.width() * 0.48, b.width() * 0.07, 4, -90));
    p.setBrush(QColor(0xFF, 0xF8, 0xD8));
    p.drawPath(StarPath(c, b.width() * 0.26, b.width() * 0.05, 4, -45));
    p.setBrush(Qt::white);
    p.drawEllipse(c, b.width() * 0.06, b.width() * 0.06);
}

void Clock(QPainter& p, const QRectF& b)
{
    const QPointF c = b.center();
    const double r = b.width() * 0.48;
    p.setPen(Qt::NoPen);
    p.setBrush(MetalBrush(b, QColor(0xD8, 0xA8, 0x3E), 45));
    p.drawEllipse(c, r, r);
    p.setBrush(VerticalGradient(b, {{0, QColor(0xFF, 0xFD, 0xF4)}, {1, QColor(0xEE, 0xE4, 0xCC)}}));
    p.drawEllipse(c, r * 0.84, r * 0.84);
    for (int i = 0; i < 60; ++i) {
        const double a = i * 6 * std::numbers::pi / 180;
        const bool bHour = i % 5 == 0;
        p.setPen(Line(QColor(0x3A, 0x32, 0x28), bHour ? 5 : 1.5));
        p.drawLine(c + QPointF(std::sin(a), -std::cos(a)) * r * (bHour ? 0.66 : 0.74),
            c + QPointF(std::sin(a), -std::cos(a)) * r * 0.8);
    }
    p.setPen(Line(QColor(0x2A, 0x22, 0x1A), 9));
    p.drawLine(c, c + QPointF(-r * 0.04, -r * 0.45));
    p.setPen(Line(QColor(0x2A, 0x22, 0x1A), 5));
    p.drawLine(c, c + QPointF(r * 0.03, -r * 0.66));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xC8, 0x1A, 0x2A));
    p.drawEllipse(c, 9, 9);
    Highlight(p, EllipsePath(QRectF(c - QPointF(r, r), QSizeF(2 * r, 2 * r))), b, 0.35);
}

void Heart(QPainter& p, const QRectF& b, QColor colour)
{
    const QPainterPath heart = HeartPath(Part(b, 0.02, 0.06, 0.96, 0.9));
    Glossy(p, heart, colour, 0, 0.65);
}

void HeartsPair(QPainter& p, const QRectF& b)
{
    p.save();
    p.translate(At(b, 0.36, 0.44));
    p.rotate(-14);
    Heart(p, QRectF(-b.width() * 0.34, -b.height() * 0.34, b.width() * 0.68, b.height() * 0.66),
        QColor(0xF2, 0x7A, 0xA0));
    p.restore();
    p.save();
    p.translate(At(b, 0.64, 0.58));
    p.rotate(12);
    Heart(p, QRectF(-b.width() * 0.34, -b.height() * 0.34, b.width() * 0.68, b.height() * 0.66),
        QColor(0xD4, 0x16, 0x40));
    p.restore();
}

void Rose(QPainter& p, const QRectF& b)
{
    const QColor green(0x2E, 0x7A, 0x3A);
    p.setPen(Line(Mix(green, Qt::black, 0.2), b.width() * 0.035));
    p.setBrush(Qt::NoBrush);
    QPainterPath stem;
    stem.moveTo(At(b, 0.5, 0.45));
    stem.quadTo(At(b, 0.45, 0.75), At(b, 0.52, 1.0));
    p.drawPath(stem);
    p.setPen(Qt::NoPen);
    for (const auto& [x, y, a] : {std::tuple {0.48, 0.72, -60.0}, std::tuple {0.5, 0.85, 50.0}}) {
        const QPainterPath leaf = LeafPath(At(b, x, y), b.width() * 0.3, b.width() * 0.16, a);
        Glossy(p, leaf, green, 0, 0.2);
    }
    // The bloom: cupped outer petals and a spiral of inner ones.
    const QPointF c = At(b, 0.5, 0.32);
    const double r = b.width() * 0.32;
    const QColor red(0xC8, 0x10, 0x30);
    for (int i = 0; i < 5; ++i) {
        const QPainterPath petal = PetalPath(c + QPointF(0, r * 0.2), r * 1.05, r * 0.8, -100 + i * 50);
        p.setBrush(GlossBrush(petal.boundingRect(), Mix(red, Qt::black, 0.1)));
        p.drawPath(petal);
    }
    p.setBrush(GlossBrush(QRectF(c - QPointF(r * 0.8, r * 0.7), QSizeF(r * 1.6, r * 1.5)), red));
    p.drawEllipse(QRectF(c - QPointF(r * 0.78, r * 0.62), QSizeF(r * 1.56, r * 1.3)));
    p.setPen(Line(Mix(red, Qt::black, 0.45), b.width() * 0.014));
    p.setBrush(Qt::NoBrush);
    QPainterPath spiral;
    for (int i = 0; i <= 60; ++i) {
        const double t = i / 60.0;
        const double a = t * 3.4 * std::numbers::pi;
        const QPointF q = c + QPointF(std::cos(a) * r * 0.62 * (1 - t), std::sin(a) * r * 0.5 * (1 - t) - r * 0.05);
        if (i == 0)
            spiral.moveTo(q);
        else
            spiral.lineTo(q);
    }
    p.drawPath(spiral);
    Highlight(p, EllipsePath(QRectF(c - QPointF(r * 0.78, r * 0.62), QSizeF(r * 1.56, r * 1.3))),
        QRectF(c - QPointF(r * 0.78, r * 0.62), QSizeF(r * 1.56, r * 1.3)), 0.3);
}

void CupidHeart(QPainter& p, const QRectF& b)
{
    const QPointF tail = At(b, 0.04, 0.84);
    const QPointF tip = At(b, 0.96, 0.16);
    p.setPen(Line(QColor(0x8A, 0x5A, 0x2A), b.width() * 0.025));
    p.drawLine(tail, At(b, 0.5, 0.5));
    Heart(p, Part(b, 0.18, 0.16, 0.64, 0.64), QColor(0xE0, 0x1E, 0x4A));
    p.setPen(Line(QColor(0x8A, 0x5A, 0x2A), b.width() * 0.025));
    p.drawLine(At(b, 0.72, 0.34), tip);
    p.setPen(Qt::NoPen);
    p.setBrush(MetalBrush(b, QColor(0xD8, 0xB0, 0x50), 30));
    QPainterPath head;
    head.moveTo(tip + QPointF(b.width() * 0.02, -b.width() * 0.02));
    head.lineTo(tip + QPointF(-b.width() * 0.1, 0));
    head.lineTo(tip + QPointF(0, b.width() * 0.1));
    head.closeSubpath();
    p.drawPath(head);
    p.setBrush(QColor(0xF4, 0x9A, 0xB4));
    for (int side : {-1, 1})
        p.drawPath(LeafPath(tail + QPointF(b.width() * 0.05, -b.width() * 0.05), b.width() * 0.14, b.width() * 0.06,
            45 + side * 40 - 90));
}

void Balloon(QPainter& p, const QRectF& b, QColor colour, double dTilt)
{
    const QRectF body = Part(b, 0.08, 0.0, 0.84, 0.68);
    p.save();
    p.translate(At(b, 0.5, 0.7));
    p.rotate(dTilt);
    p.translate(-At(b, 0.5, 0.7));
    QPainterPath balloon = EggPath(QRectF(body.left(), body.top(), body.width(), body.height()));
    QTransform flip;
    flip.translate(0, body.top() * 2 + body.height());
    flip.scale(1, -1);
    balloon = flip.map(balloon);
    Glossy(p, balloon, colour, 0, 0.75);
    QPainterPath knot;
    knot.moveTo(At(b, 0.5, 0.675));
    knot.lineTo(At(b, 0.46, 0.72));
    knot.lineTo(At(b, 0.54, 0.72));
    knot.closeSubpath();
    p.setBrush(Mix(colour, Qt::black, 0.3));
    p.drawPath(knot);
    p.restore();
    QPainterPath string;
    string.moveTo(At(b, 0.5, 0.72));
    string.cubicTo(At(b, 0.42, 0.8), At(b, 0.58, 0.88), At(b, 0.48, 1.0));
    p.setPen(Line(QColor(0x80, 0x80, 0x88), 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(string);
}

void BalloonBunch(QPainter& p, const QRectF& b)
{
    QPainterPath strings;
    for (const QPointF& from : {At(b, 0.26, 0.55), At(b, 0.5, 0.45), At(b, 0.74, 0.55)}) {
        strings.moveTo(from);
        strings.quadTo(At(b, 0.5, 0.8), At(b, 0.5, 1.0));
    }
    p.setPen(Line(QColor(0x80, 0x80, 0x88), 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(strings);
    Balloon(p, Part(b, 0.0, 0.12, 0.52, 0.62), QColor(0x3C, 0xA8, 0xF0), -12);
    Balloon(p, Part(b, 0.48, 0.12, 0.52, 0.62), QColor(0xFF, 0xC0, 0x2E), 12);
    Balloon(p, Part(b, 0.22, 0.0, 0.56, 0.66), QColor(0xF0, 0x3C, 0x6E), 0);
    p.setPen(Qt::NoPen);
    p.setBrush(GlossBrush(Part(b, 0.44, 0.9, 0.12, 0.08), QColor(0xF0, 0x3C, 0x6E)));
    p.drawEllipse(At(b, 0.5, 0.93), b.width() * 0.05, b.width() * 0.035);
}

void Candle(QPainter& p, const QRectF& b)
{
    const QRectF stick = Part(b, 0.32, 0.38, 0.36, 0.6);
    p.setPen(Qt::NoPen);
    QLinearGradient wax(stick.topLeft(), stick.topRight());
    wax.setColorAt(0, QColor(0xF0, 0xE6, 0xF8));
    wax.setColorAt(0.4, Qt::white);
    wax.setColorAt(1, QColor(0xC8, 0xBC, 0xD8));
    p.setBrush(wax);
    p.drawRoundedRect(stick, 6, 6);
    p.save();
    p.setClipRect(stick);
    p.setPen(QPen(QColor(0xE8, 0x4A, 0x8A, 210), stick.width() * 0.22));
    for (double y = stick.top() - stick.width(); y < stick.bottom() + stick.width(); y += stick.width() * 0.55)
        p.drawLine(QPointF(stick.left(), y + stick.width()), QPointF(stick.right(), y));
    p.restore();
    p.setPen(Line(QColor(0x3A, 0x30, 0x28), 3));
    p.drawLine(At(b, 0.5, 0.38), At(b, 0.5, 0.32));
    const QPointF f = At(b, 0.5, 0.2);
    QRadialGradient glow(f, b.width() * 0.4);
    glow.setColorAt(0, QColor(0xFF, 0xE0, 0x80, 170));
    glow.setColorAt(1, QColor(0xFF, 0xC0, 0x40, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(f, b.width() * 0.4, b.width() * 0.4);
    QPainterPath flame;
    flame.moveTo(At(b, 0.5, 0.02));
    flame.cubicTo(At(b, 0.58, 0.14), At(b, 0.64, 0.24), At(b, 0.5, 0.33));
    flame.cubicTo(At(b, 0.36, 0.24), At(b, 0.42, 0.14), At(b, 0.5, 0.02));
    QRadialGradient fire(At(b, 0.5, 0.26), b.height() * 0.2);
    fire.setColorAt(0, QColor(0xFF, 0xFF, 0xE8));
    fire.setColorAt(0.5, QColor(0xFF, 0xD0, 0x40));
    fire.setColorAt(1, QColor(0xFF, 0x70, 0x10));
    p.setBrush(fire);
    p.drawPath(flame);
}

void Cake(QPainter& p, const QRectF& b)
{
    const QColor sponge(0xF6, 0xD9, 0xA8);
    const QColor icing(0xFF, 0x9C, 0xC0);
    p.setPen(Qt::NoPen);
    p.setBrush(
        VerticalGradient(Part(b, 0, 0.92, 1, 0.08), {{0, QColor(0xF4, 0xF4, 0xF8)}, {1, QColor(0xC8, 0xC8, 0xD4)}}));
    p.drawEllipse(Part(b, 0.0, 0.88, 1.0, 0.1));
    auto tier = [&](const QRectF& r, QColor top) {
        p.setBrush(VerticalGradient(r, {{0, sponge}, {1, Mix(sponge, Qt::black, 0.15)}}));
        p.drawRoundedRect(r, 8, 8);
        QPainterPath drip;
        drip.moveTo(r.left(), r.top());
        drip.lineTo(r.right(), r.top());
        const int n = 7;
        for (int i = n; i >= 0; --i) {
            const double x = r.left() + r.width() * i / n;
            drip.lineTo(x, r.top() + r.height() * (i % 2 ? 0.5 : 0.3));
        }
        drip.closeSubpath();
        QPainterPathStroker soften;
        soften.setWidth(10);
        soften.setJoinStyle(Qt::RoundJoin);
        const QPainterPath icingPath = drip.united(soften.createStroke(drip)).intersected([&] {
            QPainterPath clip;
            clip.addRoundedRect(r.adjusted(-3, -6, 3, 0), 10, 10);
            return clip;
        }());
        Glossy(p, icingPath, top, 0, 0.4);
    };
    tier(Part(b, 0.08, 0.6, 0.84, 0.32), icing);
    tier(Part(b, 0.2, 0.34, 0.6, 0.28), QColor(0xFF, 0xF6, 0xEE));
    // Sprinkles and candles.
    Rng rng(9);
    for (int i = 0; i < 24; ++i) {
        const QPointF s = At(b, rng.Range(0.14, 0.86), rng.Range(0.75, 0.9));
        p.save();
        p.translate(s);
        p.rotate(rng.Range(0, 180));
        const QColor colours[]
            = {QColor(0x3C, 0xA8, 0xF0), QColor(0xFF, 0xC0, 0x2E), QColor(0x7A, 0xD0, 0x5A), Qt::white};
        p.setBrush(colours[rng.Below(4)]);
        p.drawRoundedRect(QRectF(-6, -2, 12, 4), 2, 2);
        p.restore();
    }
    for (double x : {0.34, 0.5, 0.66})
        Candle(p, Part(b, x - 0.06, 0.08, 0.12, 0.3));
}

void Cupcake(QPainter& p, const QRectF& b)
{
    QPainterPath cup;
    cup.moveTo(At(b, 0.14, 0.56));
    cup.lineTo(At(b, 0.86, 0.56));
    cup.lineTo(At(b, 0.76, 0.98));
    cup.lineTo(At(b, 0.24, 0.98));
    cup.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(
        VerticalGradient(Part(b, 0, 0.56, 1, 0.42), {{0, QColor(0x4E, 0xC8, 0xD8)}, {1, QColor(0x20, 0x8C, 0xA0)}}));
    p.drawPath(cup);
    p.save();
    p.setClipPath(cup);
    p.setPen(Line(QColor(255, 255, 255, 90), 4));
    for (int i = 0; i < 8; ++i)
        p.drawLine(At(b, 0.16 + i * 0.1, 0.56), At(b, 0.26 + i * 0.068, 0.98));
    p.restore();
    // Swirled frosting in three rings.
    const QColor frosting(0xFF, 0xB8, 0xD4);
    for (int i = 0; i < 3; ++i) {
        const QRectF ring = Part(b, 0.08 + i * 0.1, 0.42 - i * 0.13, 0.84 - i * 0.2, 0.2);
        Glossy(p, RoundedPath(ring, ring.height() / 2), Mix(frosting, Qt::white, i * 0.1), 0, 0.4);
    }
    QPainterPath tip;
    tip.moveTo(At(b, 0.42, 0.2));
    tip.quadTo(At(b, 0.5, 0.02), At(b, 0.56, 0.08));
    tip.quadTo(At(b, 0.6, 0.16), At(b, 0.58, 0.2));
    tip.closeSubpath();
    Glossy(p, tip, Mix(frosting, Qt::white, 0.25), 0, 0.3);
    Glossy(p, EllipsePath(Part(b, 0.56, 0.02, 0.16, 0.16)), QColor(0xD0, 0x10, 0x28), 0, 0.8);
}

void PartyHat(QPainter& p, const QRectF& b)
{
    QPainterPath cone;
    cone.moveTo(At(b, 0.5, 0.1));
    cone.lineTo(At(b, 0.88, 0.92));
    cone.quadTo(At(b, 0.5, 1.02), At(b, 0.12, 0.92));
    cone.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(GlossBrush(cone.boundingRect(), QColor(0x8E, 0x5C, 0xF0)));
    p.drawPath(cone);
    p.save();
    p.setClipPath(cone);
    p.setPen(QPen(QColor(0xFF, 0xC8, 0x3A), b.width() * 0.06));
    for (int i = 0; i < 6; ++i)
        p.drawLine(At(b, -0.2, 0.2 + i * 0.2), At(b, 1.2, -0.2 + i * 0.2));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    for (int i = 0; i < 8; ++i)
        p.drawEllipse(At(b, 0.3 + (i % 3) * 0.2, 0.35 + i * 0.07), 5, 5);
    p.restore();
    QPainterPath pompom = StarPath(At(b, 0.5, 0.1), b.width() * 0.12, b.width() * 0.07, 12);
    Glossy(p, pompom, QColor(0xFF, 0x5C, 0x8A), 0, 0.5);
    p.setPen(Line(Qt::white, b.width() * 0.04));
    p.setBrush(Qt::NoBrush);
    QPainterPath trim;
    trim.moveTo(At(b, 0.12, 0.92));
    trim.quadTo(At(b, 0.5, 1.02), At(b, 0.88, 0.92));
    p.drawPath(trim);
}

void Rings(QPainter& p, const QRectF& b)
{
    auto ring = [&](QPointF c, double r, double w) {
        QPainterPath band = EllipsePath(QRectF(c - QPointF(r, r * 0.96), QSizeF(2 * r, 1.92 * r)));
        band = band.subtracted(
            EllipsePath(QRectF(c - QPointF(r - w, r * 0.96 - w), QSizeF(2 * (r - w), 1.92 * r - 2 * w))));
        p.setPen(Qt::NoPen);
        p.setBrush(MetalBrush(band.boundingRect(), QColor(0xE2, 0xB4, 0x48), 40));
        p.drawPath(band);
        return band;
    };
    ring(At(b, 0.36, 0.62), b.width() * 0.28, b.width() * 0.07);
    ring(At(b, 0.64, 0.62), b.width() * 0.28, b.width() * 0.07);
    // The left ring over the right one at the top crossing.
    p.save();
    QPainterPath clip;
    clip.addRect(Part(b, 0.4, 0.3, 0.2, 0.3));
    p.setClipPath(clip);
    ring(At(b, 0.36, 0.62), b.width() * 0.28, b.width() * 0.07);
    p.restore();
    // A diamond on the left ring.
    const QPointF d = At(b, 0.36, 0.3);
    QPainterPath gem;
    gem.moveTo(d + QPointF(-b.width() * 0.1, -b.width() * 0.04));
    gem.lineTo(d + QPointF(-b.width() * 0.06, -b.width() * 0.1));
    gem.lineTo(d + QPointF(b.width() * 0.06, -b.width() * 0.1));
    gem.lineTo(d + QPointF(b.width() * 0.1, -b.width() * 0.04));
    gem.lineTo(d + QPointF(0, b.width() * 0.06));
    gem.closeSubpath();
    p.setBrush(VerticalGradient(gem.boundingRect(),
        {{0, QColor(0xF4, 0xFC, 0xFF)}, {0.5, QColor(0xA8, 0xD8, 0xF0)}, {1, QColor(0xE8, 0xF6, 0xFF)}}));
    p.setPen(Line(QColor(0x88, 0xB0, 0xC8), 1.5));
    p.drawPath(gem);
    p.drawLine(d + QPointF(-b.width() * 0.1, -b.width() * 0.04), d + QPointF(b.width() * 0.1, -b.width() * 0.04));
    Sparkle(p, QRectF(d + QPointF(b.width() * 0.02, -b.width() * 0.2), QSizeF(b.width() * 0.16, b.width() * 0.16)));
}

void Dove(QPainter& p, const QRectF& b)
{
    QPainterPath body;
    body.moveTo(At(b, 0.1, 0.5));
    body.cubicTo(At(b, 0.2, 0.38), At(b, 0.3, 0.36), At(b, 0.38, 0.4));
    body.cubicTo(At(b, 0.5, 0.46), At(b, 0.7, 0.5), At(b, 0.95, 0.4));
    body.cubicTo(At(b, 0.9, 0.56), At(b, 0.74, 0.66), At(b, 0.56, 0.66));
    body.cubicTo(At(b, 0.42, 0.66), At(b, 0.3, 0.6), At(b, 0.22, 0.56));
    body.cubicTo(At(b, 0.18, 0.54), At(b, 0.14, 0.54), At(b, 0.1, 0.5));
    QPainterPath wing;
    wing.moveTo(At(b, 0.4, 0.48));
    wing.cubicTo(At(b, 0.38, 0.2), At(b, 0.6, 0.04), At(b, 0.9, 0.02));
    wing.cubicTo(At(b, 0.76, 0.12), At(b, 0.84, 0.14), At(b, 0.74, 0.22));
    wing.cubicTo(At(b, 0.8, 0.26), At(b, 0.72, 0.3), At(b, 0.66, 0.34));
    wing.cubicTo(At(b, 0.7, 0.4), At(b, 0.6, 0.46), At(b, 0.4, 0.48));
    const QColor white(0xFA, 0xFC, 0xFF);
    p.setPen(Line(QColor(0xA8, 0xB8, 0xCC), 2.5));
    p.setBrush(VerticalGradient(b, {{0, white}, {1, QColor(0xD8, 0xE2, 0xF0)}}));
    p.drawPath(body);
    p.drawPath(wing);
    p.setPen(Line(QColor(0xB8, 0xC6, 0xD8), 2));
    for (int i = 0; i < 3; ++i)
        p.drawLine(At(b, 0.5 + i * 0.08, 0.4 - i * 0.06), At(b, 0.62 + i * 0.09, 0.24 - i * 0.07));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x30, 0x30, 0x3A));
    p.drawEllipse(At(b, 0.2, 0.45), 4.5, 4.5);
    p.setBrush(QColor(0xF0, 0xA0, 0x40));
    QPainterPath beak;
    beak.moveTo(At(b, 0.11, 0.47));
    beak.lineTo(At(b, 0.03, 0.5));
    beak.lineTo(At(b, 0.11, 0.52));
    beak.closeSubpath();
    p.drawPath(beak);
    // An olive twig.
    p.setPen(Line(QColor(0x6A, 0x8A, 0x3A), 3));
    p.drawLine(At(b, 0.04, 0.52), At(b, 0.0, 0.64));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        const QPainterPath l
            = LeafPath(At(b, 0.03 - i * 0.01, 0.54 + i * 0.04), b.width() * 0.08, b.width() * 0.03, 140 + i * 30);
        p.setBrush(QColor(0x7A, 0xA8, 0x4A));
        p.drawPath(l);
    }
}

void Pumpkin(QPainter& p, const QRectF& b, bool bFace)
{
    const QColor orange(0xF2, 0x7A, 0x1A);
    const QRectF body = Part(b, 0.02, 0.22, 0.96, 0.76);
    const double segs[][2] = {{0.0, 0.4}, {0.6, 0.4}, {0.14, 0.44}, {0.42, 0.44}, {0.26, 0.48}};
    for (const auto& s : segs) {
        const QRectF lobe(body.left() + body.width() * s[0], body.top(), body.width() * s[1], body.height());
        Glossy(p, EllipsePath(lobe), orange, 2, 0);
    }
    Highlight(p, EllipsePath(body), body, 0.35);
    p.setPen(Line(QColor(0x4A, 0x6A, 0x1A), b.width() * 0.03));
    p.setBrush(QColor(0x5A, 0x7A, 0x22));
    QPainterPath stem;
    stem.moveTo(At(b, 0.46, 0.24));
    stem.quadTo(At(b, 0.46, 0.1), At(b, 0.56, 0.04));
    stem.lineTo(At(b, 0.6, 0.08));
    stem.quadTo(At(b, 0.54, 0.14), At(b, 0.56, 0.24));
    stem.closeSubpath();
    p.drawPath(stem);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x4E, 0x8A, 0x2A));
    p.drawPath(LeafPath(At(b, 0.56, 0.2), b.width() * 0.22, b.width() * 0.1, 70));
    if (bFace) {
        QRadialGradient light(At(b, 0.5, 0.62), b.width() * 0.4);
        light.setColorAt(0, QColor(0xFF, 0xF2, 0x8A));
        light.setColorAt(1, QColor(0xF0, 0x9A, 0x10));
        p.setBrush(light);
        for (int side : {-1, 1}) {
            QPainterPath eye;
            eye.moveTo(At(b, 0.5 + side * 0.1, 0.46));
            eye.lineTo(At(b, 0.5 + side * 0.26, 0.5));
            eye.lineTo(At(b, 0.5 + side * 0.16, 0.36));
            eye.closeSubpath();
            p.drawPath(eye);
        }
        QPainterPath mouth;
        mouth.moveTo(At(b, 0.22, 0.64));
        mouth.quadTo(At(b, 0.5, 0.94), At(b, 0.78, 0.64));
        mouth.lineTo(At(b, 0.66, 0.7));
        mouth.lineTo(At(b, 0.6, 0.66));
        mouth.lineTo(At(b, 0.54, 0.74));
        mouth.lineTo(At(b, 0.46, 0.74));
        mouth.lineTo(At(b, 0.4, 0.66));
        mouth.lineTo(At(b, 0.34, 0.7));
        mouth.closeSubpath();
        p.drawPath(mouth);
    }
}

void BatArt(QPainter& p, const QRectF& b)
{
    const QPointF c = At(b, 0.5, 0.5);
    const double s = b.width();
    QPainterPath wings;
    wings.moveTo(c + QPointF(0, -0.06 * s));
    wings.cubicTo(c + QPointF(0.2 * s, -0.3 * s), c + QPointF(0.38 * s, -0.28 * s), c + QPointF(0.5 * s, -0.2 * s));
    wings.quadTo(c + QPointF(0.4 * s, -0.06 * s), c + QPointF(0.42 * s, 0.08 * s));
    wings.quadTo(c + QPointF(0.32 * s, 0.0), c + QPointF(0.26 * s, 0.12 * s));
    wings.quadTo(c + QPointF(0.18 * s, 0.02 * s), c + QPointF(0.1 * s, 0.14 * s));
    wings.quadTo(c + QPointF(0.04 * s, 0.06 * s), c + QPointF(0, 0.12 * s));
    wings.quadTo(c + QPointF(-0.04 * s, 0.06 * s), c + QPointF(-0.1 * s, 0.14 * s));
    wings.quadTo(c + QPointF(-0.18 * s, 0.02 * s), c + QPointF(-0.26 * s, 0.12 * s));
    wings.quadTo(c + QPointF(-0.32 * s, 0.0), c + QPointF(-0.42 * s, 0.08 * s));
    wings.quadTo(c + QPointF(-0.4 * s, -0.06 * s), c + QPointF(-0.5 * s, -0.2 * s));
    wings.cubicTo(c + QPointF(-0.38 * s, -0.28 * s), c + QPointF(-0.2 * s, -0.3 * s), c + QPointF(0, -0.06 * s));
    p.setPen(Qt::NoPen);
    p.setBrush(VerticalGradient(b, {{0.2, QColor(0x4A, 0x3A, 0x5A)}, {0.7, QColor(0x1A, 0x12, 0x22)}}));
    p.drawPath(wings);
    p.setBrush(QColor(0x2A, 0x20, 0x34));
    p.drawEllipse(c + QPointF(0, -0.02 * s), 0.09 * s, 0.11 * s);
    for (int side : {-1, 1}) {
        QPainterPath ear;
        ear.moveTo(c + QPointF(side * 0.03 * s, -0.1 * s));
        ear.lineTo(c + QPointF(side * 0.07 * s, -0.19 * s));
        ear.lineTo(c + QPointF(side * 0.08 * s, -0.07 * s));
        ear.closeSubpath();
        p.drawPath(ear);
        p.setBrush(QColor(0xFF, 0xD0, 0x40));
        p.drawEllipse(c + QPointF(side * 0.035 * s, -0.04 * s), 0.018 * s, 0.022 * s);
        p.setBrush(QColor(0x2A, 0x20, 0x34));
    }
}

void Ghost(QPainter& p, const QRectF& b)
{
    QPainterPath ghost;
    ghost.moveTo(At(b, 0.14, 0.95));
    ghost.lineTo(At(b, 0.14, 0.42));
    ghost.cubicTo(At(b, 0.14, 0.0), At(b, 0.86, 0.0), At(b, 0.86, 0.42));
    ghost.lineTo(At(b, 0.86, 0.95));
    for (int i = 0; i < 4; ++i) {
        const double x0 = 0.86 - i * 0.18;
        ghost.quadTo(At(b, x0 - 0.045, 0.85), At(b, x0 - 0.09, 0.92));
        ghost.quadTo(At(b, x0 - 0.135, 1.0), At(b, x0 - 0.18, 0.95));
    }
    ghost.closeSubpath();
    p.setPen(Line(QColor(0xB8, 0xC4, 0xD8), 2.5));
    p.setBrush(VerticalGradient(b, {{0, Qt::white}, {1, QColor(0xDC, 0xE4, 0xF2)}}));
    p.drawPath(ghost);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2A, 0x24, 0x34));
    p.drawEllipse(At(b, 0.38, 0.38), b.width() * 0.055, b.width() * 0.075);
    p.drawEllipse(At(b, 0.62, 0.38), b.width() * 0.055, b.width() * 0.075);
    p.drawEllipse(At(b, 0.5, 0.56), b.width() * 0.07, b.width() * 0.09);
    p.setBrush(QColor(0xFF, 0xB0, 0xC0, 140));
    p.drawEllipse(At(b, 0.28, 0.5), b.width() * 0.05, b.width() * 0.03);
    p.drawEllipse(At(b, 0.72, 0.5), b.width() * 0.05, b.width() * 0.03);
}

void WitchHat(QPainter& p, const QRectF& b)
{
    const QColor purple(0x4A, 0x2A, 0x6A);
    p.setPen(Qt::NoPen);
    p.setBrush(GlossBrush(Part(b, 0, 0.72, 1, 0.24), Mix(purple, Qt::black, 0.2)));
    p.drawEllipse(Part(b, 0.0, 0.74, 1.0, 0.22));
    QPainterPath cone;
    cone.moveTo(At(b, 0.22, 0.84));
    cone.cubicTo(At(b, 0.32, 0.5), At(b, 0.42, 0.2), At(b, 0.76, 0.04));
    cone.cubicTo(At(b, 0.6, 0.2), At(b, 0.66, 0.5), At(b, 0.78, 0.84));
    cone.quadTo(At(b, 0.5, 0.92), At(b, 0.22, 0.84));
    p.setBrush(GlossBrush(cone.boundingRect(), purple));
    p.drawPath(cone);
    QPainterPath band;
    band.moveTo(At(b, 0.26, 0.72));
    band.quadTo(At(b, 0.5, 0.8), At(b, 0.74, 0.72));
    band.lineTo(At(b, 0.77, 0.82));
    band.quadTo(At(b, 0.5, 0.9), At(b, 0.23, 0.82));
    band.closeSubpath();
    p.setBrush(QColor(0xF2, 0x8A, 0x1A));
    p.drawPath(band);
    p.setPen(Line(QColor(0xF6, 0xD0, 0x4A), 5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(Part(b, 0.44, 0.73, 0.12, 0.1));
}

void Maple(QPainter& p, const QRectF& b, QColor colour)
{
    const QPainterPath leaf = MaplePath(b.center(), b.width() * 0.98, -12);
    QLinearGradient shade(b.topLeft(), b.bottomRight());
    shade.setColorAt(0, Mix(colour, QColor(0xFF, 0xD0, 0x40), 0.35));
    shade.setColorAt(1, Mix(colour, Qt::black, 0.2));
    p.setPen(Line(Mix(colour, Qt::black, 0.35), 2));
    p.setBrush(shade);
    p.drawPath(leaf);
    p.save();
    p.translate(b.center());
    p.rotate(-12);
    p.setPen(Line(Mix(colour, Qt::black, 0.3), 2.5));
    const double s = b.width() * 0.98;
    p.drawLine(QPointF(0, s * 0.4), QPointF(0, -s * 0.4));
    p.drawLine(QPointF(0, s * 0.1), QPointF(s * 0.36, -s * 0.16));
    p.drawLine(QPointF(0, s * 0.1), QPointF(-s * 0.36, -s * 0.16));
    p.drawLine(QPointF(0, s * 0.2), QPointF(s * 0.22, s * 0.12));
    p.drawLine(QPointF(0, s * 0.2), QPointF(-s * 0.22, s * 0.12));
    p.restore();
}

void Acorn(QPainter& p, const QRectF& b)
{
    const QPainterPath nut = EggPath(Part(b, 0.2, 0.3, 0.6, 0.68));
    QTransform flip;
    flip.translate(0, (b.top() + b.height() * 0.3) * 2 + b.height() * 0.68);
    flip.scale(1, -1);
    Glossy(p, flip.map(nut), QColor(0xC8, 0x84, 0x3A), 0, 0.5);
    const QRectF cap = Part(b, 0.12, 0.2, 0.76, 0.3);
    QPainterPath capPath;
    capPath.moveTo(cap.left(), cap.bottom() - cap.height() * 0.2);
    capPath.cubicTo(cap.left(), cap.top(), cap.right(), cap.top(), cap.right(), cap.bottom() - cap.height() * 0.2);
    capPath.quadTo(cap.center().x(), cap.bottom() + cap.height() * 0.15, cap.left(), cap.bottom() - cap.height() * 0.2);
    p.setPen(Qt::NoPen);
    p.setBrush(GlossBrush(cap, QColor(0x7A, 0x4E, 0x24)));
    p.drawPath(capPath);
    p.save();
    p.setClipPath(capPath);
    p.setPen(Line(QColor(0x4A, 0x2E, 0x12, 160), 2));
    for (double d = -1; d < 2; d += 0.09) {
        p.drawLine(At(cap, d, 0), At(cap, d + 0.4, 1));
        p.drawLine(At(cap, d + 0.4, 0), At(cap, d, 1));
    }
    p.restore();
    p.setPen(Line(QColor(0x5A, 0x3A, 0x1A), b.width() * 0.05));
    p.drawLine(At(b, 0.5, 0.21), At(b, 0.56, 0.06));
}

void Egg(QPainter& p, const QRectF& b, QColor colour, QColor trim, int nPattern)
{
    const QRectF box = Part(b, 0.1, 0.0, 0.8, 1.0);
    const QPainterPath egg = EggPath(box);
    Glossy(p, egg, colour, 0, 0);
    p.save();
    p.setClipPath(egg);
    p.setPen(Line(trim, b.width() * 0.045));
    p.setBrush(Qt::NoBrush);
    if (nPattern == 0) {
        for (double y : {0.38, 0.62}) {
            QPainterPath zig;
            for (int i = 0; i <= 10; ++i) {
                const QPointF q = At(box, i / 10.0, y + (i % 2 ? 0.05 : -0.05));
                if (i == 0)
                    zig.moveTo(q);
                else
                    zig.lineTo(q);
            }
            p.drawPath(zig);
        }
    } else if (nPattern == 1) {
        p.setPen(Qt::NoPen);
        p.setBrush(trim);
        for (int j = 0; j < 6; ++j)
            for (int i = 0; i < 5; ++i)
                p.drawEllipse(
                    At(box, 0.1 + i * 0.2 + (j % 2) * 0.1, 0.12 + j * 0.16), b.width() * 0.04, b.width() * 0.04);
    } else {
        for (double y : {0.3, 0.5, 0.7}) {
            QPainterPath wave;
            wave.moveTo(At(box, 0, y));
            for (int i = 0; i < 4; ++i)
                wave.quadTo(At(box, i * 0.25 + 0.125, y + (i % 2 ? 0.06 : -0.06)), At(box, (i + 1) * 0.25, y));
            p.drawPath(wave);
        }
    }
    p.restore();
    Highlight(p, egg, box, 0.55);
}

void Bunny(QPainter& p, const QRectF& b)
{
    const QColor fur(0xF6, 0xF4, 0xF8);
    const QColor shade(0xC8, 0xC4, 0xD4);
    const QColor pink(0xF6, 0xA8, 0xC0);
    p.setPen(Line(shade, 2.5));
    for (int side : {-1, 1}) {
        p.save();
        p.translate(At(b, 0.5 + side * 0.1, 0.32));
        p.rotate(side * 12);
        p.setBrush(VerticalGradient(QRectF(0, -b.height() * 0.3, 1, b.height() * 0.3), {{0, fur}, {1, shade}}));
        p.drawEllipse(QRectF(-b.width() * 0.08, -b.height() * 0.32, b.width() * 0.16, b.height() * 0.36));
        p.setPen(Qt::NoPen);
        p.setBrush(pink);
        p.drawEllipse(QRectF(-b.width() * 0.04, -b.height() * 0.27, b.width() * 0.08, b.height() * 0.26));
        p.setPen(Line(shade, 2.5));
        p.restore();
    }
    p.setBrush(VerticalGradient(b, {{0.4, fur}, {1, shade}}));
    p.drawEllipse(Part(b, 0.18, 0.6, 0.64, 0.4));
    p.drawEllipse(Part(b, 0.24, 0.28, 0.52, 0.42));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3A, 0x30, 0x40));
    p.drawEllipse(At(b, 0.41, 0.46), b.width() * 0.03, b.width() * 0.036);
    p.drawEllipse(At(b, 0.59, 0.46), b.width() * 0.03, b.width() * 0.036);
    p.setBrush(Qt::white);
    p.drawEllipse(At(b, 0.415, 0.453), b.width() * 0.01, b.width() * 0.01);
    p.drawEllipse(At(b, 0.595, 0.453), b.width() * 0.01, b.width() * 0.01);
    p.setBrush(pink);
    p.drawEllipse(At(b, 0.5, 0.54), b.width() * 0.03, b.width() * 0.022);
    p.setBrush(WithAlpha(pink, 130));
    p.drawEllipse(At(b, 0.34, 0.56), b.width() * 0.05, b.width() * 0.03);
    p.drawEllipse(At(b, 0.66, 0.56), b.width() * 0.05, b.width() * 0.03);
    p.setPen(Line(QColor(0x8A, 0x80, 0x90), 2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(At(b, 0.44, 0.52), QSizeF(b.width() * 0.06, b.width() * 0.05)), 200 * 16, 140 * 16);
    p.drawArc(QRectF(At(b, 0.5, 0.52), QSizeF(b.width() * 0.06, b.width() * 0.05)), 200 * 16, 140 * 16);
}

void Chick(QPainter& p, const QRectF& b)
{
    const QColor yellow(0xFF, 0xD8, 0x3A);
    Glossy(p, EllipsePath(Part(b, 0.12, 0.34, 0.76, 0.64)), yellow, 0, 0.5);
    Glossy(p, EllipsePath(Part(b, 0.26, 0.06, 0.48, 0.46)), yellow, 0, 0.6);
    p.setPen(Qt::NoPen);
    p.setBrush(Mix(yellow, QColor(0xF0, 0x9A, 0x10), 0.5));
    p.drawPath(LeafPath(At(b, 0.28, 0.62), b.width() * 0.22, b.width() * 0.1, -120));
    p.drawPath(LeafPath(At(b, 0.72, 0.62), b.width() * 0.22, b.width() * 0.1, 120));
    QPainterPath tuft;
    tuft.addPath(LeafPath(At(b, 0.5, 0.08), b.width() * 0.1, b.width() * 0.04, -20));
    tuft.addPath(LeafPath(At(b, 0.5, 0.08), b.width() * 0.08, b.width() * 0.035, 25));
    p.setBrush(yellow);
    p.drawPath(tuft);
    p.setBrush(QColor(0x2A, 0x24, 0x30));
    p.drawEllipse(At(b, 0.41, 0.26), b.width() * 0.03, b.width() * 0.035);
    p.drawEllipse(At(b, 0.59, 0.26), b.width() * 0.03, b.width() * 0.035);
    QPainterPath beak;
    beak.moveTo(At(b, 0.45, 0.32));
    beak.lineTo(At(b, 0.55, 0.32));
    beak.lineTo(At(b, 0.5, 0.39));
    beak.closeSubpath();
    p.setBrush(QColor(0xF2, 0x84, 0x1A));
    p.drawPath(beak);
    p.setBrush(QColor(0xFF, 0x9C, 0x9C, 120));
    p.drawEllipse(At(b, 0.34, 0.33), b.width() * 0.04, b.width() * 0.025);
    p.drawEllipse(At(b, 0.66, 0.33), b.width() * 0.04, b.width() * 0.025);
}

void Daisy(QPainter& p, const QRectF& b, QColor petal, QColor heart)
{
    const QPointF c = b.center();
    const double r = b.width() * 0.5;
    p.setPen(Line(Mix(petal, Qt::gray, 0.35), 1.5));
    for (int i = 0; i < 14; ++i) {
        const QPainterPath path = PetalPath(c, r, r * 0.28, i * (360.0 / 14));
        p.setBrush(VerticalGradient(path.boundingRect(), {{0, petal}, {1, Mix(petal, Qt::gray, 0.12)}}));
        p.drawPath(path);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(GlossBrush(QRectF(c - QPointF(r * 0.3, r * 0.3), QSizeF(r * 0.6, r * 0.6)), heart));
    p.drawEllipse(c, r * 0.28, r * 0.28);
    p.setBrush(QColor(0x8A, 0x4A, 0x00, 90));
    Rng rng(3);
    for (int i = 0; i < 30; ++i)
        p.drawEllipse(c + QPointF(rng.Range(-0.18, 0.18) * r, rng.Range(-0.18, 0.18) * r), 2, 2);
}

void Tulip(QPainter& p, const QRectF& b, QColor colour)
{
    const QColor green(0x3C, 0x8C, 0x3E);
    p.setPen(Line(Mix(green, Qt::black, 0.15), b.width() * 0.05));
    p.drawLine(At(b, 0.5, 0.45), At(b, 0.5, 1.0));
    p.setPen(Qt::NoPen);
    Glossy(p, LeafPath(At(b, 0.5, 0.98), b.height() * 0.42, b.width() * 0.22, -22), green, 0, 0.2);
    Glossy(p, LeafPath(At(b, 0.5, 0.98), b.height() * 0.36, b.width() * 0.2, 26), Mix(green, Qt::white, 0.15), 0, 0.2);
    QPainterPath cup;
    cup.moveTo(At(b, 0.24, 0.08));
    cup.lineTo(At(b, 0.37, 0.2));
    cup.lineTo(At(b, 0.5, 0.04));
    cup.lineTo(At(b, 0.63, 0.2));
    cup.lineTo(At(b, 0.76, 0.08));
    cup.cubicTo(At(b, 0.84, 0.3), At(b, 0.74, 0.5), At(b, 0.5, 0.5));
    cup.cubicTo(At(b, 0.26, 0.5), At(b, 0.16, 0.3), At(b, 0.24, 0.08));
    Glossy(p, cup, colour, 0, 0.45);
    p.setPen(Line(Mix(colour, Qt::black, 0.25), 2));
    p.drawLine(At(b, 0.5, 0.1), At(b, 0.5, 0.46));
}

void Butterfly(QPainter& p, const QRectF& b)
{
    const QColor wing(0x7A, 0x6C, 0xF0);
    const QColor tip(0xF2, 0x7A, 0xC8);
    for (int side : {-1, 1}) {
        p.save();
        p.translate(At(b, 0.5, 0.5));
        p.scale(side, 1);
        QPainterPath upper;
        upper.moveTo(0, -b.height() * 0.04);
        upper.cubicTo(b.width() * 0.1, -b.height() * 0.46, b.width() * 0.5, -b.height() * 0.5, b.width() * 0.46,
            -b.height() * 0.16);
        upper.cubicTo(b.width() * 0.44, 0, b.width() * 0.2, b.height() * 0.04, 0, 0);
        QPainterPath lower;
        lower.moveTo(0, 0);
        lower.cubicTo(b.width() * 0.3, b.height() * 0.02, b.width() * 0.4, b.height() * 0.34, b.width() * 0.22,
            b.height() * 0.38);
        lower.cubicTo(b.width() * 0.1, b.height() * 0.4, b.width() * 0.04, b.height() * 0.2, 0, b.height() * 0.04);
        QLinearGradient shade(QPointF(0, 0), QPointF(b.width() * 0.5, -b.height() * 0.3));
        shade.setColorAt(0, Mix(wing, Qt::black, 0.2));
        shade.setColorAt(0.6, wing);
        shade.setColorAt(1, tip);
        p.setPen(Line(QColor(0x2A, 0x22, 0x50), 2.5));
        p.setBrush(shade);
        p.drawPath(lower);
        p.drawPath(upper);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 200));
        p.drawEllipse(QPointF(b.width() * 0.34, -b.height() * 0.26), b.width() * 0.04, b.width() * 0.04);
        p.drawEllipse(QPointF(b.width() * 0.2, b.height() * 0.24), b.width() * 0.03, b.width() * 0.03);
        p.restore();
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2A, 0x22, 0x40));
    p.drawRoundedRect(QRectF(At(b, 0.48, 0.3), QSizeF(b.width() * 0.04, b.height() * 0.42)), 6, 6);
    p.setPen(Line(QColor(0x2A, 0x22, 0x40), 2));
    p.setBrush(Qt::NoBrush);
    QPainterPath antennae;
    antennae.moveTo(At(b, 0.49, 0.31));
    antennae.quadTo(At(b, 0.46, 0.2), At(b, 0.4, 0.16));
    antennae.moveTo(At(b, 0.51, 0.31));
    antennae.quadTo(At(b, 0.54, 0.2), At(b, 0.6, 0.16));
    p.drawPath(antennae);
}

void GradCap(QPainter& p, const QRectF& b)
{
    const QColor black(0x22, 0x24, 0x2C);
    QPainterPath skull;
    skull.moveTo(At(b, 0.24, 0.46));
    skull.lineTo(At(b, 0.24, 0.74));
    skull.quadTo(At(b, 0.5, 0.9), At(b, 0.76, 0.74));
    skull.lineTo(At(b, 0.76, 0.46));
    skull.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(GlossBrush(skull.boundingRect(), black));
    p.drawPath(skull);
    QPainterPath board;
    board.moveTo(At(b, 0.5, 0.16));
    board.lineTo(At(b, 1.0, 0.38));
    board.lineTo(At(b, 0.5, 0.6));
    board.lineTo(At(b, 0.0, 0.38));
    board.closeSubpath();
    p.setBrush(VerticalGradient(board.boundingRect(), {{0, QColor(0x4A, 0x4C, 0x58)}, {1, black}}));
    p.drawPath(board);
    p.setPen(Line(QColor(0xF2, 0xC6, 0x4A), b.width() * 0.018));
    p.setBrush(Qt::NoBrush);
    QPainterPath cord;
    cord.moveTo(At(b, 0.5, 0.38));
    cord.quadTo(At(b, 0.74, 0.42), At(b, 0.84, 0.46));
    cord.lineTo(At(b, 0.84, 0.74));
    p.drawPath(cord);
    p.setPen(Qt::NoPen);
    p.setBrush(VerticalGradient(
        Part(b, 0.8, 0.72, 0.08, 0.2), {{0, QColor(0xFF, 0xE0, 0x70)}, {1, QColor(0xC8, 0x90, 0x20)}}));
    QPainterPath tassel;
    tassel.moveTo(At(b, 0.82, 0.72));
    tassel.lineTo(At(b, 0.86, 0.72));
    tassel.lineTo(At(b, 0.9, 0.92));
    tassel.lineTo(At(b, 0.78, 0.92));
    tassel.closeSubpath();
    p.drawPath(tassel);
    p.setBrush(QColor(0xF2, 0xC6, 0x4A));
    p.drawEllipse(At(b, 0.5, 0.38), b.width() * 0.03, b.width() * 0.02);
}

void Diploma(QPainter& p, const QRectF& b)
{
    p.save();
    p.translate(b.center());
    p.rotate(-24);
    const double w = b.width() * 0.96;
    const double h = b.height() * 0.3;
    const QRectF scroll(-w / 2, -h / 2, w, h);
    p.setPen(Line(QColor(0xC8, 0xB8, 0x90), 2));
    p.setBrush(VerticalGradient(
        scroll, {{0, QColor(0xFF, 0xFC, 0xEE)}, {0.5, QColor(0xF6, 0xEC, 0xD0)}, {1, QColor(0xD8, 0xC8, 0xA0)}}));
    p.drawRoundedRect(scroll, h / 2, h / 2);
    p.setBrush(VerticalGradient(scroll, {{0, QColor(0xF0, 0xE4, 0xC4)}, {1, QColor(0xC8, 0xB4, 0x88)}}));
    p.drawEllipse(QRectF(w / 2 - h * 0.5, -h / 2, h * 0.5, h));
    // A red ribbon tied round the middle.
    const QColor red(0xB8, 0x1A, 0x2A);
    p.setPen(Qt::NoPen);
    p.setBrush(red);
    p.drawRect(QRectF(-w * 0.04, -h / 2, w * 0.08, h));
    for (int side : {-1, 1}) {
        QPainterPath tail;
        tail.moveTo(0, h * 0.3);
        tail.lineTo(side * w * 0.12, h * 1.3);
        tail.lineTo(side * w * 0.06, h * 1.2);
        tail.lineTo(side * w * 0.03, h * 1.4);
        tail.lineTo(side * w * 0.01, h * 0.3);
        tail.closeSubpath();
        p.setBrush(Mix(red, Qt::black, 0.1));
        p.drawPath(tail);
    }
    Glossy(p, EllipsePath(QRectF(-h * 0.32, -h * 0.32, h * 0.64, h * 0.64)), QColor(0xD8, 0xA8, 0x3A), 0, 0.5);
    p.restore();
}

void Tie(QPainter& p, const QRectF& b)
{
    const QColor navy(0x22, 0x3A, 0x6A);
    QPainterPath knot;
    knot.moveTo(At(b, 0.34, 0.02));
    knot.lineTo(At(b, 0.66, 0.02));
    knot.lineTo(At(b, 0.58, 0.18));
    knot.lineTo(At(b, 0.42, 0.18));
    knot.closeSubpath();
    QPainterPath blade;
    blade.moveTo(At(b, 0.42, 0.18));
    blade.lineTo(At(b, 0.58, 0.18));
    blade.lineTo(At(b, 0.74, 0.82));
    blade.lineTo(At(b, 0.5, 1.0));
    blade.lineTo(At(b, 0.26, 0.82));
    blade.closeSubpath();
    p.setPen(Qt::NoPen);
    for (const QPainterPath& part : {blade, knot}) {
        p.setBrush(GlossBrush(part.boundingRect(), navy));
        p.drawPath(part);
        p.save();
        p.setClipPath(part);
        p.setPen(QPen(QColor(0xE8, 0xB8, 0x3A), b.width() * 0.06));
        for (int i = -4; i < 10; ++i)
            p.drawLine(At(b, -0.2, i * 0.14), At(b, 1.2, i * 0.14 - 0.5));
        p.setPen(QPen(QColor(0xC8, 0x3A, 0x3A), b.width() * 0.02));
        for (int i = -4; i < 10; ++i)
            p.drawLine(At(b, -0.2, i * 0.14 + 0.05), At(b, 1.2, i * 0.14 - 0.45));
        p.restore();
    }
    p.setPen(Line(Mix(navy, Qt::black, 0.4), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(knot);
    p.drawPath(blade);
}

void Mustache(QPainter& p, const QRectF& b)
{
    QPainterPath m;
    m.moveTo(At(b, 0.5, 0.4));
    m.cubicTo(At(b, 0.6, 0.26), At(b, 0.76, 0.3), At(b, 0.84, 0.46));
    m.cubicTo(At(b, 0.9, 0.56), At(b, 1.0, 0.54), At(b, 1.0, 0.44));
    m.cubicTo(At(b, 1.02, 0.66), At(b, 0.8, 0.72), At(b, 0.66, 0.62));
    m.cubicTo(At(b, 0.58, 0.58), At(b, 0.54, 0.56), At(b, 0.5, 0.52));
    m.cubicTo(At(b, 0.46, 0.56), At(b, 0.42, 0.58), At(b, 0.34, 0.62));
    m.cubicTo(At(b, 0.2, 0.72), At(b, -0.02, 0.66), At(b, 0.0, 0.44));
    m.cubicTo(At(b, 0.0, 0.54), At(b, 0.1, 0.56), At(b, 0.16, 0.46));
    m.cubicTo(At(b, 0.24, 0.3), At(b, 0.4, 0.26), At(b, 0.5, 0.4));
    Glossy(p, m, QColor(0x4A, 0x30, 0x1E), 0, 0.3);
}

void Trophy(QPainter& p, const QRectF& b)
{
    const QColor gold(0xE6, 0xB4, 0x3A);
    p.setPen(Line(Mix(gold, Qt::black, 0.2), b.width() * 0.045));
    p.setBrush(Qt::NoBrush);
    p.drawArc(Part(b, 0.04, 0.1, 0.3, 0.32), 90 * 16, 180 * 16);
    p.drawArc(Part(b, 0.66, 0.1, 0.3, 0.32), -90 * 16, 180 * 16);
    QPainterPath cup;
    cup.moveTo(At(b, 0.18, 0.06));
    cup.lineTo(At(b, 0.82, 0.06));
    cup.cubicTo(At(b, 0.82, 0.4), At(b, 0.7, 0.56), At(b, 0.54, 0.6));
    cup.lineTo(At(b, 0.54, 0.74));
    cup.lineTo(At(b, 0.46, 0.74));
    cup.lineTo(At(b, 0.46, 0.6));
    cup.cubicTo(At(b, 0.3, 0.56), At(b, 0.18, 0.4), At(b, 0.18, 0.06));
    p.setPen(Qt::NoPen);
    p.setBrush(MetalBrush(b, gold, 20));
    p.drawPath(cup);
    p.setBrush(
        VerticalGradient(Part(b, 0, 0.72, 1, 0.28), {{0, QColor(0x6A, 0x3E, 0x1E)}, {1, QColor(0x3A, 0x22, 0x10)}}));
    p.drawRoundedRect(Part(b, 0.26, 0.8, 0.48, 0.18), 5, 5);
    p.setBrush(MetalBrush(b, gold, 20));
    p.drawRoundedRect(Part(b, 0.32, 0.72, 0.36, 0.1), 4, 4);
    p.drawRect(Part(b, 0.38, 0.86, 0.24, 0.06));
    Star(p, Part(b, 0.38, 0.16, 0.24, 0.24), QColor(0xFF, 0xF0, 0xC0));
    Highlight(p, cup, Part(b, 0.18, 0.06, 0.64, 0.54), 0.45);
}

void Rocket(QPainter& p, const QRectF& b)
{
    p.save();
    p.translate(b.center());
    p.rotate(35);
    p.translate(-b.center());
    QPainterPath flame;
    flame.moveTo(At(b, 0.42, 0.8));
    flame.quadTo(At(b, 0.5, 1.05), At(b, 0.58, 0.8));
    flame.closeSubpath();
    QRadialGradient fire(At(b, 0.5, 0.82), b.height() * 0.18);
    fire.setColorAt(0, QColor(0xFF, 0xF6, 0xB0));
    fire.setColorAt(1, QColor(0xFF, 0x6A, 0x1A));
    p.setPen(Qt::NoPen);
    p.setBrush(fire);
    p.drawPath(flame);
    for (int side : {-1, 1}) {
        QPainterPath fin;
        fin.moveTo(At(b, 0.5 + side * 0.12, 0.52));
        fin.lineTo(At(b, 0.5 + side * 0.26, 0.78));
        fin.lineTo(At(b, 0.5 + side * 0.1, 0.76));
        fin.closeSubpath();
        Glossy(p, fin, QColor(0xE8, 0x3A, 0x4A), 0, 0);
    }
    QPainterPath body;
    body.moveTo(At(b, 0.5, 0.02));
    body.cubicTo(At(b, 0.66, 0.14), At(b, 0.66, 0.5), At(b, 0.6, 0.78));
    body.lineTo(At(b, 0.4, 0.78));
    body.cubicTo(At(b, 0.34, 0.5), At(b, 0.34, 0.14), At(b, 0.5, 0.02));
    QLinearGradient metal(At(b, 0.36, 0), At(b, 0.64, 0));
    metal.setColorAt(0, QColor(0xB8, 0xC0, 0xD0));
    metal.setColorAt(0.4, Qt::white);
    metal.setColorAt(1, QColor(0x98, 0xA0, 0xB4));
    p.setBrush(metal);
    p.drawPath(body);
    p.save();
    p.setClipPath(body);
    p.setBrush(QColor(0xE8, 0x3A, 0x4A));
    p.drawRect(Part(b, 0, 0.0, 1, 0.16));
    p.restore();
    p.setBrush(QColor(0x5A, 0x6A, 0x88));
    p.drawEllipse(At(b, 0.5, 0.36), b.width() * 0.075, b.width() * 0.075);
    p.setBrush(GlossBrush(Part(b, 0.44, 0.3, 0.12, 0.12), QColor(0x5C, 0xC8, 0xF0)));
    p.drawEllipse(At(b, 0.5, 0.36), b.width() * 0.055, b.width() * 0.055);
    p.restore();
}

void SmilingSun(QPainter& p, const QRectF& b)
{
    const QPointF c = b.center();
    const double r = b.width() * 0.3;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 12; ++i) {
        p.save();
        p.translate(c);
        p.rotate(i * 30);
        QPainterPath ray;
        ray.moveTo(-r * 0.25, -r * 1.1);
        ray.quadTo(0, -r * 1.75, r * 0.25, -r * 1.1);
        ray.closeSubpath();
        p.setBrush(i % 2 ? QColor(0xFF, 0xB8, 0x2A) : QColor(0xFF, 0xD8, 0x3A));
        p.drawPath(ray);
        p.restore();
    }
    Glossy(p, EllipsePath(QRectF(c - QPointF(r, r), QSizeF(2 * r, 2 * r))), QColor(0xFF, 0xCC, 0x2A), 0, 0.5);
    p.setBrush(QColor(0x6A, 0x3A, 0x10));
    p.drawEllipse(c + QPointF(-r * 0.35, -r * 0.15), r * 0.1, r * 0.13);
    p.drawEllipse(c + QPointF(r * 0.35, -r * 0.15), r * 0.1, r * 0.13);
    p.setPen(Line(QColor(0x6A, 0x3A, 0x10), r * 0.09));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c + QPointF(-r * 0.45, -r * 0.3), QSizeF(r * 0.9, r * 0.75)), 210 * 16, 120 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF, 0x80, 0x60, 120));
    p.drawEllipse(c + QPointF(-r * 0.6, r * 0.2), r * 0.16, r * 0.1);
    p.drawEllipse(c + QPointF(r * 0.6, r * 0.2), r * 0.16, r * 0.1);
}

void Duck(QPainter& p, const QRectF& b)
{
    const QColor yellow(0xFF, 0xD4, 0x2A);
    QPainterPath body;
    body.moveTo(At(b, 0.08, 0.5));
    body.cubicTo(At(b, 0.16, 0.58), At(b, 0.3, 0.56), At(b, 0.42, 0.56));
    body.cubicTo(At(b, 0.7, 0.56), At(b, 0.96, 0.56), At(b, 0.94, 0.76));
    body.cubicTo(At(b, 0.92, 0.98), At(b, 0.2, 1.0), At(b, 0.12, 0.78));
    body.cubicTo(At(b, 0.06, 0.66), At(b, 0.04, 0.56), At(b, 0.08, 0.5));
    Glossy(p, body, yellow, 0, 0.4);
    Glossy(p, EllipsePath(Part(b, 0.5, 0.16, 0.38, 0.44)), yellow, 0, 0.6);
    QPainterPath beak;
    beak.moveTo(At(b, 0.86, 0.34));
    beak.quadTo(At(b, 1.02, 0.36), At(b, 0.98, 0.44));
    beak.quadTo(At(b, 0.92, 0.46), At(b, 0.84, 0.44));
    beak.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF2, 0x7A, 0x1A));
    p.drawPath(beak);
    p.setBrush(QColor(0x2A, 0x24, 0x30));
    p.drawEllipse(At(b, 0.74, 0.3), b.width() * 0.03, b.width() * 0.035);
    p.setBrush(Qt::white);
    p.drawEllipse(At(b, 0.745, 0.29), b.width() * 0.01, b.width() * 0.01);
    p.setBrush(Mix(yellow, QColor(0xF0, 0x9A, 0x10), 0.4));
    QPainterPath wing;
    wing.moveTo(At(b, 0.32, 0.66));
    wing.cubicTo(At(b, 0.42, 0.58), At(b, 0.62, 0.62), At(b, 0.66, 0.72));
    wing.cubicTo(At(b, 0.56, 0.8), At(b, 0.4, 0.78), At(b, 0.32, 0.66));
    p.drawPath(wing);
}

struct ClipDef {
    const char* szName;
    QSize size; // the picture, shadow room included
    Draw draw;
};

} // namespace

void WriteCliparts(const QDir& dir, Resources& resources)
{
    const QSize sq(360, 360);
    const QSize tall(300, 420);
    const QSize wide(420, 300);
    const ClipDef kCliparts[] = {
        {"star_gold.png", sq, [](QPainter& p, const QRectF& b) { Star(p, b, QColor(0xF2, 0xBE, 0x3A)); }},
        {"star_silver.png", sq, [](QPainter& p, const QRectF& b) { Star(p, b, QColor(0xC4, 0xCC, 0xDA)); }},
        {"bell_gold.png", sq, Bell},
        {"bauble_red.png", tall, [](QPainter& p, const QRectF& b) { Bauble(p, b, QColor(0xC8, 0x14, 0x28), 0); }},
        {"bauble_blue.png", tall, [](QPainter& p, const QRectF& b) { Bauble(p, b, QColor(0x1E, 0x5A, 0xC8), 1); }},
        {"bauble_green.png", tall, [](QPainter& p, const QRectF& b) { Bauble(p, b, QColor(0x1E, 0x8A, 0x4A), 2); }},
        {"snowflake.png", sq, SnowflakeArt},
        {"holly.png", sq, Holly},
        {"candy_cane.png", tall, CandyCane},
        {"christmas_tree.png", tall, ChristmasTree},
        {"gift_red.png", sq,
            [](QPainter& p, const QRectF& b) { Gift(p, b, QColor(0xC8, 0x1A, 0x2A), QColor(0xF2, 0xC6, 0x4A)); }},
        {"gift_blue.png", sq,
            [](QPainter& p, const QRectF& b) { Gift(p, b, QColor(0x3C, 0x9C, 0xE8), QColor(0xFF, 0x6A, 0x9A)); }},
        {"champagne.png", tall, Champagne},
        {"sparkle.png", sq, Sparkle},
        {"clock.png", sq, Clock},
        {"heart_red.png", sq, [](QPainter& p, const QRectF& b) { Heart(p, b, QColor(0xD4, 0x12, 0x3E)); }},
        {"heart_pink.png", sq, [](QPainter& p, const QRectF& b) { Heart(p, b, QColor(0xF4, 0x86, 0xAC)); }},
        {"hearts_pair.png", wide, HeartsPair},
        {"rose.png", tall, Rose},
        {"cupid_heart.png", wide, CupidHeart},
        {"balloon_red.png", tall, [](QPainter& p, const QRectF& b) { Balloon(p, b, QColor(0xE8, 0x22, 0x44), 0); }},
        {"balloon_yellow.png", tall, [](QPainter& p, const QRectF& b) { Balloon(p, b, QColor(0xFF, 0xC4, 0x22), 0); }},
        {"balloons.png", tall, BalloonBunch},
        {"candle.png", tall, Candle},
        {"cake.png", sq, Cake},
        {"cupcake.png", sq, Cupcake},
        {"party_hat.png", tall, PartyHat},
        {"rings.png", wide, Rings},
        {"dove.png", wide, Dove},
        {"pumpkin.png", sq, [](QPainter& p, const QRectF& b) { Pumpkin(p, b, false); }},
        {"jack_o_lantern.png", sq, [](QPainter& p, const QRectF& b) { Pumpkin(p, b, true); }},
        {"bat.png", wide, BatArt},
        {"ghost.png", tall, Ghost},
        {"witch_hat.png", sq, WitchHat},
        {"maple_leaf.png", sq, [](QPainter& p, const QRectF& b) { Maple(p, b, QColor(0xE0, 0x5A, 0x1A)); }},
        {"maple_leaf_red.png", sq, [](QPainter& p, const QRectF& b) { Maple(p, b, QColor(0xB8, 0x22, 0x1E)); }},
        {"acorn.png", tall, Acorn},
        {"egg_pink.png", tall, [](QPainter& p, const QRectF& b) { Egg(p, b, QColor(0xF6, 0x9C, 0xBE), Qt::white, 0); }},
        {"egg_blue.png", tall,
            [](QPainter& p, const QRectF& b) { Egg(p, b, QColor(0x7C, 0xC4, 0xF0), QColor(0xFF, 0xF2, 0x9A), 1); }},
        {"egg_yellow.png", tall,
            [](QPainter& p, const QRectF& b) { Egg(p, b, QColor(0xFF, 0xDC, 0x5A), QColor(0xB4, 0x8C, 0xE8), 2); }},
        {"bunny.png", tall, Bunny},
        {"chick.png", sq, Chick},
        {"daisy.png", sq, [](QPainter& p, const QRectF& b) { Daisy(p, b, Qt::white, QColor(0xFF, 0xC4, 0x1E)); }},
        {"flower_pink.png", sq,
            [](QPainter& p, const QRectF& b) { Daisy(p, b, QColor(0xF8, 0xA8, 0xC8), QColor(0xFF, 0xE0, 0x6A)); }},
        {"tulip.png", tall, [](QPainter& p, const QRectF& b) { Tulip(p, b, QColor(0xF0, 0x4A, 0x7A)); }},
        {"butterfly.png", wide, Butterfly},
        {"grad_cap.png", sq, GradCap},
        {"diploma.png", wide, Diploma},
        {"trophy.png", tall, Trophy},
        {"tie.png", tall, Tie},
        {"mustache.png", wide, Mustache},
        {"rocket.png", tall, Rocket},
        {"sun.png", sq, SmilingSun},
        {"duck.png", sq, Duck},
    };
    for (const ClipDef& clip : kCliparts)
        resources.cliparts[QString::fromLatin1(clip.szName)] = clip.size * kScale;
    Parallel(int(std::size(kCliparts)), [&](int i) {
        const ClipDef& clip = kCliparts[i];
        QImage image = NewImage(int(clip.size.width() * kScale), int(clip.size.height() * kScale));
        {
            QPainter painter(&image);
            Prepare(painter);
            painter.scale(kScale, kScale);
            clip.draw(painter, QRectF(QPointF(0, 0), QSizeF(clip.size)).adjusted(kPad, kPad, -kPad, -kPad));
        }
        image = WithShadow(image, QPointF(5, 8) * kScale, int(9 * kScale), QColor(0, 0, 0, 90));
        Save(image, dir.filePath(QString::fromLatin1(clip.szName)));
    });
}

} // namespace art
