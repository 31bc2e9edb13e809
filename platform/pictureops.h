// Work on decoded pictures shared by the canvas's display images and the output: new bitmaps, reading
// a picture for the size it is drawn at, masking, blurring an alpha bitmap.
#pragma once

#include <span>

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>

class QColor;
class QPainter;

// A 32-bit ARGB bitmap of the given size filled with one colour; null for an empty size. Memory that
// cannot be had is std::bad_alloc, as for any other allocation.
QImage NewBitmap(QSize size, const QColor& fill);

// The whole pixels a picture covers when drawn w x h large: both sides rounded up; empty for a
// rectangle that covers nothing. Only compared with picture sizes, so huge sides are clamped.
QSize DrawnPixels(double w, double h);

// Draws the picture stretched over rc; nothing for a null picture.
void DrawPicture(QPainter& painter, const QImage& picture, const QRectF& rc);

// Replaces the alpha of every non-transparent pixel by the brightness (blue byte) of the mask
// picture stretched to nWidth x nHeight; colours stay as they are. A mask that cannot be read leaves
// the picture untouched.
void ApplyMask(QImage& bitmap, const QString& strMaskPath, int nWidth, int nHeight);
// ApplyMask with the mask stretched over rcMask of the bitmap, which may reach past its edges (the
// bitmap holds part of a larger picture); pixels outside rcMask become transparent.
void ApplyMaskAt(QImage& bitmap, const QString& strMaskPath, const QRectF& rcMask);

// Blurs an alpha bitmap (Format_Alpha8) by box filters applied one after the other, widthsAcross
// pixels wide along the rows and then widthsDown pixels tall along the columns; widths may be
// fractional, and those of a pixel or less leave it as it is. What lies beyond the edges counts as
// transparent.
void BoxBlurAlpha(QImage& alpha, std::span<const double> widthsAcross, std::span<const double> widthsDown);

// Reads a picture that will be drawn szDrawn pixels large on its target: decoded reduced when it is
// drawn smaller than the file, but never below szDrawn on either side. Null when the file cannot be
// read or szDrawn is empty.
QImage ReadPictureForSize(const QString& strPath, QSize szDrawn);
