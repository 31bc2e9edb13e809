#include "platform/quality.h"

#include <cmath>

#include <QPainter>

void ApplyQuality(QPainter& painter)
{
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
}

QImage NewBackBuffer(QSize szLogical, qreal dRatio, QImage::Format format)
{
    if (szLogical.isEmpty())
        return QImage();
    const qreal dScale = dRatio > 0 ? dRatio : 1.0;
    const QSize szPhysical(int(std::ceil(szLogical.width() * dScale)), int(std::ceil(szLogical.height() * dScale)));
    QImage buffer(szPhysical, format);
    if (!buffer.isNull())
        buffer.setDevicePixelRatio(dScale);
    return buffer;
}
