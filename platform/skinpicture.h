#pragma once

#include <QImage>
#include <QString>

// Skin pictures come in two sizes: the file itself, one picture pixel to one logical pixel, and beside
// it the same name with "@2x" before the extension, drawn at twice the size for screens whose device
// pixel ratio is above 1. Callers keep drawing into logical rectangles of the 1x size: at ratio 2 each
// pixel of the 2x picture then lands on one device pixel, at fractional ratios it is scaled down.

// strPath with "@2x" before its extension: ".../Skins/new.bmp" gives ".../Skins/new@2x.bmp".
QString SkinPath2x(const QString& strPath);

// The picture to draw on a surface of device pixel ratio dRatio: above 1 the @2x picture, carrying
// device pixel ratio 2, when it exists and can be read; otherwise the file itself (null when that
// cannot be read either).
QImage ReadSkin(const QString& strPath, qreal dRatio);

// A skin picture read once, for a widget that paints often: the file itself at once, its @2x picture
// the first time a surface above ratio 1 asks for it.
class SkinPicture {
public:
    SkinPicture() = default;
    explicit SkinPicture(const QString& strPath);

    // The picture ReadSkin would choose for dRatio.
    const QImage& ForRatio(qreal dRatio) const;

private:
    QString m_strPath;
    QImage m_img1x;
    mutable QImage m_img2x;
    mutable bool m_b2xRead = false;
};
