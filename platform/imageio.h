#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// Pictures are always read upright: a camera's orientation tag is applied, and every size reported
// here is the upright size. Files that are missing, damaged or declare absurd dimensions read as a
// null image or an invalid size, never as a huge allocation.

// The upright pixel size of the picture file, read from its header; invalid when it cannot be read.
QSize ReadPictureSize(const QString& strPath);

// Reads the whole picture upright. When szTarget is valid and smaller than the picture, the result
// is the picture resampled to exactly szTarget (high-quality area resampling); JPEG files are then
// decoded at a reduced size through DCT scaling, never below szTarget. pFullSize receives the
// upright size of the file itself. A null image is returned when the file cannot be decoded.
QImage ReadPicture(const QString& strPath, QSize szTarget = QSize(), QSize* pFullSize = nullptr);

// The largest number of pixels a picture may have to be decoded at all (about 134 megapixels).
qint64 MaxPicturePixels();
