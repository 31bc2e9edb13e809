// document/: the card and its objects, their geometry, display images and the undo history. Uses
// platform/ only.
#pragma once

#include <QRectF>

// A rectangle in card coordinates: four single-precision floats, x and y the top-left corner
// before rotation.
struct RectF {
    float X = 0;
    float Y = 0;
    float Width = 0;
    float Height = 0;

    QRectF toQRectF() const { return QRectF(X, Y, Width, Height); }
    QPointF centre() const { return QPointF(X + Width / 2.0, Y + Height / 2.0); }
    // Every coordinate multiplied: x and the width by sx, y and the height by sy.
    RectF scaled(double sx, double sy) const
    {
        return {float(X * sx), float(Y * sy), float(Width * sx), float(Height * sy)};
    }
    RectF scaled(double k) const { return scaled(k, k); }
    bool operator==(const RectF&) const = default;
};
