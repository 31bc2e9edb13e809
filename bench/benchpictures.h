#pragma once

#include <QColor>
#include <QImage>
#include <QString>

class TheData;

// A picture with detail everywhere (a gradient crossed by many lines), so that decoders and
// resamplers have real work to do.
QImage DetailedPicture(int nWidth, int nHeight, QColor from = QColor(20, 80, 200), QColor to = QColor(240, 180, 40));

// Writes a camera-sized (4000 x 3000) detailed photo as a JPEG and returns its path.
QString WriteCameraPhoto(const QString& strPath);

// Puts the photo into the object, covering it at 4:3 and centred on it.
void CoverWithPhoto(TheData& obj, const QString& strPhoto);
