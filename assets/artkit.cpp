#include "assets/artkit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <vector>

#include <QFileInfo>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QtConcurrent/QtConcurrentMap>

#include "platform/quality.h"

namespace art {

double Rng::Next()
{
    m_nState = m_nState * 6364136223846793005ULL + 1442695040888963407ULL;
    std::uint64_t x = m_nState;
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    return double(x >> 11) / double(1ULL << 53);
}

QImage NewImage(int nWidth, int nHeight, QColor fill)
{
    QImage image(nWidth, nHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

void Prepare(QPainter& painter)
{
    ApplyQuality(painter);
}

namespace {

// One box pass along lines of n pixels, stride apart, clamping at the ends.
void BoxLine(const QRgb* pIn, QRgb* pOut, int n, int nStride, int nRadius)
{
    const int nWindow = 2 * nRadius + 1;
    int sum[4] = {0, 0, 0, 0};
    auto add = [&](QRgb c, int sign) {
        sum[0] += sign * int(qAlpha(c));
        sum[1] += sign * int(qRed(c));
        sum[2] += sign * int(qGreen(c));
        sum[3] += sign * int(qBlue(c));
    };
    auto at = [&](int i) { return pIn[std::clamp(i, 0, n - 1) * nStride]; };
    for (int i = -nRadius; i <= nRadius; ++i)
        add(at(i), 1);
    for (int i = 0; i < n; ++i) {
        pOut[i * nStride] = qRgba(sum[1] / nWindow, sum[2] / nWindow, sum[3] / nWindow, sum[0] / nWindow);
        add(at(i + nRadius + 1), 1);
        add(at(i - nRadius), -1);
    }
}

} // namespace

QImage Blur(const QImage& image, int nRadius)
{
    QImage a = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (nRadius <= 0 || a.isNull())
        return a;
    // Wide blurs are computed on a reduced copy and scaled back: the result is as smooth and several
    // times cheaper.
    const int nReduce = std::clamp(nRadius / 4, 1, 4);
    if (nReduce > 1 && a.width() >= 8 * nReduce && a.height() >= 8 * nReduce) {
        const QSize full = a.size();
        const QImage small = a.scaled(full / nReduce, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        return Blur(small, nRadius / nReduce).scaled(full, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    QImage b(a.size(), a.format());
    const int w = a.width();
    const int h = a.height();
    const int nStride = int(a.bytesPerLine() / 4);
    // Three passes of a third of the radius each approximate a Gaussian.
    const int r = std::max(1, nRadius / 2);
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y)
            BoxLine(reinterpret_cast<const QRgb*>(a.constScanLine(y)), reinterpret_cast<QRgb*>(b.scanLine(y)), w, 1, r);
        const auto* pIn = reinterpret_cast<const QRgb*>(b.constBits());
        auto* pOut = reinterpret_cast<QRgb*>(a.bits());
        for (int x = 0; x < w; ++x)
            BoxLine(pIn + x, pOut + x, h, nStride, r);
    }
    return a;
}

namespace {

QImage TintedAlpha(const QImage& image, QColor tint)
{
    QImage shape = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&shape);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(shape.rect(), tint);
    return shape;
}

} // namespace

QImage WithShadow(const QImage& image, QPointF offset, int nRadius, QColor shadow)
{
    const QImage soft = Blur(TintedAlpha(image, shadow), nRadius);
    QImage result = NewImage(image.width(), image.height());
    QPainter painter(&result);
    painter.drawImage(offset, soft);
    painter.drawImage(0, 0, image);
    return result;
}

QImage WithGlow(const QImage& image, int nRadius, QColor glow)
{
    const QImage soft = Blur(TintedAlpha(image, glow), nRadius);
    QImage result = NewImage(image.width(), image.height());
    QPainter painter(&result);
    painter.drawImage(0, 0, soft);
    painter.drawImage(0, 0, soft);
    painter.drawImage(0, 0, image);
    return result;
}

QColor Mix(QColor a, QColor b, double t)
{
    auto lerp = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
    return QColor(
        lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()), lerp(a.alpha(), b.alpha()));
}

QColor WithAlpha(QColor colour, int nAlpha)
{
    colour.setAlpha(nAlpha);
    return colour;
}

QPainterPath StarPath(QPointF centre, double dOuter, double dInner, int nPoints, double dRotation)
{
    QPainterPath path;
    for (int i = 0; i < 2 * nPoints; ++i) {
        const double r = (i % 2 == 0) ? dOuter : dInner;
        const double a = (dRotation + i * 180.0 / nPoints) * std::numbers::pi / 180.0;
        const QPointF p(centre.x() + r * std::cos(a), centre.y() + r * std::sin(a));
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

QPainterPath HeartPath(const QRectF& box)
{
    const double x = box.x();
    const double y = box.y();
    const double w = box.width();
    const double h = box.height();
    QPainterPath path;
    path.moveTo(x + w * 0.5, y + h * 0.24);
    path.cubicTo(x + w * 0.5, y + h * 0.05, x + w * 0.80, y - h * 0.02, x + w * 0.94, y + h * 0.16);
    path.cubicTo(x + w * 1.06, y + h * 0.30, x + w * 1.0, y + h * 0.52, x + w * 0.86, y + h * 0.66);
    path.cubicTo(x + w * 0.74, y + h * 0.78, x + w * 0.56, y + h * 0.88, x + w * 0.5, y + h);
    path.cubicTo(x + w * 0.44, y + h * 0.88, x + w * 0.26, y + h * 0.78, x + w * 0.14, y + h * 0.66);
    path.cubicTo(x + w * 0.0, y + h * 0.52, x - w * 0.06, y + h * 0.30, x + w * 0.06, y + h * 0.16);
    path.cubicTo(x + w * 0.20, y - h * 0.02, x + w * 0.5, y + h * 0.05, x + w * 0.5, y + h * 0.24);
    path.closeSubpath();
    return path;
}

QPainterPath RoundedPath(const QRectF& box, double dRadius)
{
    QPainterPath path;
    path.addRoundedRect(box, dRadius, dRadius);
    return path;
}

QPainterPath EllipsePath(const QRectF& box)
{
    QPainterPath path;
    path.addEllipse(box);
    return path;
}

QPainterPath CloudPath(const QRectF& box)
{
    const double w = box.width();
    const double h = box.height();
    auto circle = [&](double cx, double cy, double r) {
        QPainterPath p;
        p.addEllipse(QPointF(box.x() + cx * w, box.y() + cy * h), r * w, r * h);
        return p;
    };
    QPainterPath path = circle(0.24, 0.62, 0.20);
    path = path.united(circle(0.42, 0.40, 0.24));
    path = path.united(circle(0.64, 0.42, 0.21));
    path = path.united(circle(0.80, 0.62, 0.18));
    path = path.united(circle(0.55, 0.66, 0.24));
    path = path.united(circle(0.35, 0.70, 0.20));
    return path.simplified();
}

QPainterPath ScallopPath(QPointF centre, double dRadius, int nScallops, double dDepth)
{
    QPainterPath path;
    QPainterPath core;
    core.addEllipse(centre, dRadius - dDepth, dRadius - dDepth);
    path = core;
    const double dBump = (dRadius - dDepth) * std::sin(std::numbers::pi / nScallops) * 1.05;
    for (int i = 0; i < nScallops; ++i) {
        const double a = 2 * std::numbers::pi * i / nScallops;
        QPainterPath bump;
        const double r = dRadius - dBump;
        bump.addEllipse(QPointF(centre.x() + r * std::cos(a), centre.y() + r * std::sin(a)), dBump, dBump);
        path = path.united(bump);
    }
    return path.simplified();
}

QPainterPath ScallopRectPath(const QRectF& box, double dBump)
{
    QPainterPath path;
    path.addRect(box.adjusted(dBump, dBump, -dBump, -dBump));
    auto bumps = [&](QPointF from, QPointF to) {
        const double dLength = std::hypot(to.x() - from.x(), to.y() - from.y());
        const int n = std::max(2, int(std::round(dLength / (2 * dBump))));
        for (int i = 0; i <= n; ++i) {
            const QPointF p = from + (to - from) * (double(i) / n);
            QPainterPath c;
            c.addEllipse(p, dBump, dBump);
            path = path.united(c);
        }
    };
    const QRectF inner = box.adjusted(dBump, dBump, -dBump, -dBump);
    bumps(inner.topLeft(), inner.topRight());
    bumps(inner.topRight(), inner.bottomRight());
    bumps(inner.bottomRight(), inner.bottomLeft());
    bumps(inner.bottomLeft(), inner.topLeft());
    return path.simplified();
}

QPainterPath ArchPath(const QRectF& box)
{
    const double r = box.width() / 2;
    QPainterPath path;
    path.moveTo(box.left(), box.bottom());
    path.lineTo(box.left(), box.top() + r);
    path.arcTo(QRectF(box.left(), box.top(), box.width(), 2 * r), 180, -180);
    path.lineTo(box.right(), box.bottom());
    path.closeSubpath();
    return path;
}

QPainterPath MaplePath(QPointF centre, double dSize, double dRotation)
{
    // Outline of a maple leaf in a unit box centred on the origin, stem downwards.
    static const double kPoints[][2] = {{0.00, -0.50}, {0.07, -0.30}, {0.17, -0.35}, {0.14, -0.12}, {0.33, -0.28},
        {0.30, -0.20}, {0.46, -0.22}, {0.40, -0.10}, {0.48, -0.04}, {0.26, 0.10}, {0.30, 0.20}, {0.06, 0.14},
        {0.04, 0.40}, {0.00, 0.40}, {-0.04, 0.40}, {-0.06, 0.14}, {-0.30, 0.20}, {-0.26, 0.10}, {-0.48, -0.04},
        {-0.40, -0.10}, {-0.46, -0.22}, {-0.30, -0.20}, {-0.33, -0.28}, {-0.14, -0.12}, {-0.17, -0.35}, {-0.07, -0.30}};
    QPainterPath path;
    bool bFirst = true;
    for (const auto& p : kPoints) {
        const QPointF q(p[0] * dSize, p[1] * dSize);
        if (bFirst)
            path.moveTo(q);
        else
            path.lineTo(q);
        bFirst = false;
    }
    path.closeSubpath();
    QPainterPath stem;
    stem.addRect(QRectF(-0.015 * dSize, 0.30 * dSize, 0.03 * dSize, 0.22 * dSize));
    path = path.united(stem);
    QTransform t;
    t.translate(centre.x(), centre.y());
    t.rotate(dRotation);
    return t.map(path);
}

QPainterPath LeafPath(QPointF base, double dLength, double dWidth, double dRotation)
{
    QPainterPath path;
    path.moveTo(0, 0);
    path.cubicTo(dWidth * 0.9, -dLength * 0.25, dWidth * 0.6, -dLength * 0.8, 0, -dLength);
    path.cubicTo(-dWidth * 0.6, -dLength * 0.8, -dWidth * 0.9, -dLength * 0.25, 0, 0);
    path.closeSubpath();
    QTransform t;
    t.translate(base.x(), base.y());
    t.rotate(dRotation);
    return t.map(path);
}

QPainterPath EggPath(const QRectF& box)
{
    const double x = box.x();
    const double y = box.y();
    const double w = box.width();
    const double h = box.height();
    QPainterPath path;
    path.moveTo(x + w * 0.5, y);
    path.cubicTo(x + w * 0.82, y, x + w, y + h * 0.45, x + w, y + h * 0.64);
    path.cubicTo(x + w, y + h * 0.88, x + w * 0.78, y + h, x + w * 0.5, y + h);
    path.cubicTo(x + w * 0.22, y + h, x, y + h * 0.88, x, y + h * 0.64);
    path.cubicTo(x, y + h * 0.45, x + w * 0.18, y, x + w * 0.5, y);
    path.closeSubpath();
    return path;
}

QPainterPath PetalPath(QPointF centre, double dLength, double dWidth, double dRotation)
{
    QPainterPath path;
    path.moveTo(0, 0);
    path.cubicTo(dWidth, -dLength * 0.3, dWidth * 0.8, -dLength, 0, -dLength);
    path.cubicTo(-dWidth * 0.8, -dLength, -dWidth, -dLength * 0.3, 0, 0);
    path.closeSubpath();
    QTransform t;
    t.translate(centre.x(), centre.y());
    t.rotate(dRotation);
    return t.map(path);
}

QPainterPath TextPath(const QString& strText, const QFont& font, QPointF centre)
{
    QPainterPath path;
    path.addText(0, 0, font, strText);
    const QRectF bounds = path.boundingRect();
    return path.translated(centre - bounds.center());
}

QLinearGradient VerticalGradient(const QRectF& box, std::initializer_list<std::pair<double, QColor>> stops)
{
    QLinearGradient gradient(box.topLeft(), box.bottomLeft());
    for (const auto& [dAt, colour] : stops)
        gradient.setColorAt(dAt, colour);
    return gradient;
}

QBrush GlossBrush(const QRectF& box, QColor base)
{
    QRadialGradient gradient(box.center(), std::max(box.width(), box.height()) * 0.72,
        QPointF(box.left() + box.width() * 0.34, box.top() + box.height() * 0.28));
    gradient.setColorAt(0.0, Mix(base, Qt::white, 0.55));
    gradient.setColorAt(0.35, base);
    gradient.setColorAt(1.0, Mix(base, Qt::black, 0.55));
    return QBrush(gradient);
}

QBrush MetalBrush(const QRectF& box, QColor base, double dAngle)
{
    const double a = dAngle * std::numbers::pi / 180.0;
    const double r = std::hypot(box.width(), box.height()) / 2;
    const QPointF d(std::cos(a) * r, std::sin(a) * r);
    QLinearGradient gradient(box.center() - d, box.center() + d);
    const QColor light = Mix(base, Qt::white, 0.6);
    const QColor dark = Mix(base, Qt::black, 0.45);
    gradient.setColorAt(0.00, dark);
    gradient.setColorAt(0.18, light);
    gradient.setColorAt(0.32, base);
    gradient.setColorAt(0.50, Mix(base, Qt::black, 0.25));
    gradient.setColorAt(0.66, light);
    gradient.setColorAt(0.82, base);
    gradient.setColorAt(1.00, dark);
    return QBrush(gradient);
}

void Highlight(QPainter& painter, const QPainterPath& path, const QRectF& box, double dStrength)
{
    painter.save();
    painter.setClipPath(path, Qt::IntersectClip);
    QRadialGradient gradient(
        QPointF(box.left() + box.width() * 0.38, box.top() + box.height() * 0.22), box.width() * 0.42);
    gradient.setColorAt(0, QColor(255, 255, 255, int(255 * dStrength)));
    gradient.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawEllipse(QRectF(
        box.left() + box.width() * 0.08, box.top() + box.height() * 0.02, box.width() * 0.6, box.height() * 0.42));
    painter.restore();
}

QFont SerifFont(int nPixelSize, bool bBold, bool bItalic)
{
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(nPixelSize);
    font.setBold(bBold);
    font.setItalic(bItalic);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QFont SansFont(int nPixelSize, bool bBold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(nPixelSize);
    font.setBold(bBold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void Snowflake(QPainter& painter, QPointF centre, double dRadius, QColor colour, double dWidth, double dRotation)
{
    painter.save();
    QPen pen(colour, dWidth);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    painter.translate(centre);
    painter.rotate(dRotation);
    for (int i = 0; i < 6; ++i) {
        painter.drawLine(QPointF(0, 0), QPointF(0, -dRadius));
        for (double t : {0.45, 0.72}) {
            const double b = dRadius * (t == 0.45 ? 0.32 : 0.22);
            painter.drawLine(QPointF(0, -dRadius * t), QPointF(b * 0.8, -dRadius * t - b * 0.7));
            painter.drawLine(QPointF(0, -dRadius * t), QPointF(-b * 0.8, -dRadius * t - b * 0.7));
        }
        painter.rotate(60);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QPointF(0, 0), dWidth * 1.1, dWidth * 1.1);
    painter.restore();
}

QPainterPath PineTreePath(QPointF base, double dHeight, double dWidth, int nTiers)
{
    QPainterPath tree;
    const double dTrunk = dHeight * 0.1;
    tree.addRect(QRectF(base.x() - dWidth * 0.07, base.y() - dTrunk, dWidth * 0.14, dTrunk));
    const double dCrown = dHeight - dTrunk;
    for (int i = 0; i < nTiers; ++i) {
        const double t = double(i) / nTiers;
        const double yBottom = base.y() - dTrunk - dCrown * t * 0.78;
        const double yTop = base.y() - dTrunk - dCrown * std::min(1.0, t * 0.78 + 0.45 + 0.55 / nTiers);
        const double w = dWidth * (1 - t * 0.72) / 2;
        QPainterPath tier;
        tier.moveTo(base.x(), yTop);
        tier.quadTo(base.x() + w * 0.45, yTop + (yBottom - yTop) * 0.5, base.x() + w, yBottom);
        tier.quadTo(base.x(), yBottom - (yBottom - yTop) * 0.12, base.x() - w, yBottom);
        tier.quadTo(base.x() - w * 0.45, yTop + (yBottom - yTop) * 0.5, base.x(), yTop);
        tier.closeSubpath();
        tree = tree.united(tier);
    }
    return tree;
}

void Confetti(
    QPainter& painter, const QRectF& box, Rng& rng, int nCount, double dSize, std::initializer_list<QColor> colours)
{
    const std::vector<QColor> palette(colours);
    painter.save();
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < nCount; ++i) {
        const QPointF p(rng.Range(box.left(), box.right()), rng.Range(box.top(), box.bottom()));
        const QColor c = palette[size_t(rng.Below(int(palette.size())))];
        const double s = dSize * rng.Range(0.6, 1.3);
        painter.save();
        painter.translate(p);
        painter.rotate(rng.Range(0, 360));
        painter.setBrush(c);
        const int nShape = rng.Below(3);
        if (nShape == 0)
            painter.drawRect(QRectF(-s / 2, -s / 5, s, s / 2.5));
        else if (nShape == 1)
            painter.drawEllipse(QPointF(0, 0), s / 3, s / 3);
        else
            painter.drawPath(StarPath(QPointF(0, 0), s / 2, s / 4.5, 5));
        painter.restore();
    }
    painter.restore();
}

void Bunting(
    QPainter& painter, QPointF from, QPointF to, double dSag, double dFlag, std::initializer_list<QColor> colours)
{
    const std::vector<QColor> palette(colours);
    QPainterPath string;
    const QPointF mid = (from + to) / 2 + QPointF(0, 2 * dSag);
    string.moveTo(from);
    string.quadTo(mid, to);
    painter.save();
    painter.setPen(QPen(QColor(255, 255, 255, 200), std::max(1.5, dFlag / 18)));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(string);
    const int n = std::max(2, int(std::hypot(to.x() - from.x(), to.y() - from.y()) / (dFlag * 1.1)));
    for (int i = 0; i < n; ++i) {
        const double t0 = (i + 0.12) / n;
        const double t1 = (i + 0.88) / n;
        const QPointF a = string.pointAtPercent(t0);
        const QPointF b = string.pointAtPercent(t1);
        const QPointF tip = (a + b) / 2 + QPointF(0, dFlag * 1.15);
        QPainterPath flag;
        flag.moveTo(a);
        flag.lineTo(b);
        flag.lineTo(tip);
        flag.closeSubpath();
        const QColor c = palette[size_t(i) % palette.size()];
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 40));
        painter.drawPath(flag.translated(2, 4));
        QLinearGradient shade(a, tip);
        shade.setColorAt(0, Mix(c, Qt::white, 0.15));
        shade.setColorAt(1, Mix(c, Qt::black, 0.15));
        painter.setBrush(shade);
        painter.drawPath(flag);
        painter.setBrush(QColor(255, 255, 255, 110));
        painter.drawEllipse((a + b + tip) / 3 - QPointF(0, dFlag * 0.12), dFlag * 0.09, dFlag * 0.09);
    }
    painter.restore();
}

void Vignette(QPainter& painter, const QRectF& box, QColor edge, double dInner)
{
    QRadialGradient gradient(box.center(), std::hypot(box.width(), box.height()) / 2);
    gradient.setColorAt(0, WithAlpha(edge, 0));
    gradient.setColorAt(dInner, WithAlpha(edge, 0));
    gradient.setColorAt(1, edge);
    painter.fillRect(box, gradient);
}

void Sprinkle(QPainter& painter, const QRectF& box, Rng& rng, int nCount, double dMinRadius, double dMaxRadius,
    QColor colour, bool bSoft)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < nCount; ++i) {
        const QPointF p(rng.Range(box.left(), box.right()), rng.Range(box.top(), box.bottom()));
        const double r = rng.Range(dMinRadius, dMaxRadius);
        const int nAlpha = int(colour.alpha() * rng.Range(0.45, 1.0));
        if (bSoft) {
            QRadialGradient gradient(p, r);
            gradient.setColorAt(0, WithAlpha(colour, nAlpha));
            gradient.setColorAt(0.55, WithAlpha(colour, nAlpha * 2 / 3));
            gradient.setColorAt(1, WithAlpha(colour, 0));
            painter.setBrush(gradient);
        } else {
            painter.setBrush(WithAlpha(colour, nAlpha));
        }
        painter.drawEllipse(p, r, r);
    }
    painter.restore();
}

void Grain(QImage& image, std::uint64_t nSeed, int nStrength)
{
    Rng rng(nSeed);
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y) {
        auto* pLine = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = pLine[x];
            const int a = qAlpha(c);
            if (a == 0)
                continue;
            const int d = int((rng.Next() - 0.5) * 2 * nStrength) * a / 255;
            pLine[x] = qRgba(
                std::clamp(qRed(c) + d, 0, a), std::clamp(qGreen(c) + d, 0, a), std::clamp(qBlue(c) + d, 0, a), a);
        }
    }
}

void Parallel(int nCount, const std::function<void(int)>& job)
{
    std::vector<int> indices(size_t(std::max(nCount, 0)));
    for (int i = 0; i < nCount; ++i)
        indices[size_t(i)] = i;
    QtConcurrent::blockingMap(indices, [&job](int i) { job(i); });
}

void Save(const QImage& image, const QString& strPath)
{
    const QString strSuffix = QFileInfo(strPath).suffix().toLower();
    QImage out;
    int nQuality = -1;
    if (strSuffix == QLatin1String("png")) {
        out = image.format() == QImage::Format_Grayscale8 ? image : image.convertToFormat(QImage::Format_ARGB32);
    } else if (strSuffix == QLatin1String("jpg")) {
        out = image.format() == QImage::Format_Grayscale8 ? image : image.convertToFormat(QImage::Format_RGB888);
        nQuality = 90;
    } else {
        out = image.convertToFormat(QImage::Format_RGB888);
    }
    QImageWriter writer(strPath);
    // JPEG at quality 90; PNG with light compression, which writes several times faster.
    writer.setQuality(nQuality >= 0 ? nQuality : 75);
    if (!writer.write(out)) {
        std::fprintf(
            stderr, "velomira-artwork: cannot write %s: %s\n", qPrintable(strPath), qPrintable(writer.errorString()));
        std::exit(1);
    }
}

} // namespace art
