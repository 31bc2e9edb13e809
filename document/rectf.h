// document/: the card and its objects, their geometry and the undo history. Uses platform/ only;
// never includes canvas/, panels/ or shell/.
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
    RectF scaled(double k) const
    {
        return {float(X * k), float(Y * k), float(Width * k), float(Height * k)};
    }
    bool operator==(const RectF&) const = default;
};
