#include "bench/benchpictures.h"

#include <algorithm>

#include <QLinearGradient>
#include <QPainter>

QImage DetailedPicture(int nWidth, int nHeight, QColor from, QColor to)
{
    QImage image(nWidth, nHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, nWidth, nHeight);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    painter.fillRect(image.rect(), gradient);
    painter.setPen(QPen(QColor(250, 250, 250), std::max(1, nWidth / 1300)));
    for (int i = 0; i < nWidth; i += std::max(1, nWidth / 110))
        painter.drawLine(i, 0, nWidth - i, nHeight);
    return image;
}

QString WriteCameraPhoto(const QString& strPath)
{
    DetailedPicture(4000, 3000).save(strPath, "JPEG", 92);
    return strPath;
}
