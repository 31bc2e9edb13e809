#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>

class QPainter;

// The three settings every drawing surface gets before drawing: anti-aliased shapes, high-quality
// picture resampling and anti-aliased text.
void ApplyQuality(QPainter& painter);

// The physical size of a logical size on a screen of device pixel ratio dRatio: each side x ratio,
// rounded up (a ratio of 0 or less counts as 1).
QSize DeviceSize(QSize szLogical, qreal dRatio);

// The logical rectangle that covers every pixel of a back buffer: at a fractional ratio a little more
// than the logical size, so that a picture stretched over it leaves no half-covered last column or row.
QRectF BufferRect(const QImage& buffer);

// The back buffer of a custom-painted surface of logical size szLogical on a screen of device pixel
// ratio dRatio: logical size x ratio physical pixels (rounded up), carrying the ratio, so a painter on
// it draws in logical coordinates and the copy to the window is pixel for pixel. Null for an empty size.
QImage NewBackBuffer(QSize szLogical, qreal dRatio, QImage::Format format = QImage::Format_ARGB32_Premultiplied);
