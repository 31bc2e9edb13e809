#include "platform/quality.h"

#include <cmath>

#include <QPainter>

void ApplyQuality(QPainter& painter)
{
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
}

QSize DeviceSize(QSize szLogical, qreal dRatio)
{
    const qreal dScale = dRatio > 0 ? dRatio : 1.0;
    return QSize(int(std::ceil(szLogical.width() * dScale)), int(std::ceil(szLogical.height() * dScale)));
}

QRectF BufferRect(const QImage& buffer)
{
    return QRectF(QPointF(0, 0), QSizeF(buffer.size()) / buffer.devicePixelRatio());
}

QImage NewBackBuffer(QSize szLogical, qreal dRatio, QImage::Format format)
{
    if (szLogical.isEmpty())
        return QImage();
    QImage buffer(DeviceSize(szLogical, dRatio), format);
    if (!buffer.isNull())
        buffer.setDevicePixelRatio(dRatio > 0 ? dRatio : 1.0);
    return buffer;
}
