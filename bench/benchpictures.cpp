#include "bench/benchpictures.h"

#include <algorithm>

#include <QLinearGradient>
#include <QPainter>

#include "document/thedata.h"

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

void CoverWithPhoto(TheData& obj, const QString& strPhoto)
{
    obj.m_strPhoto = strPhoto;
    const RectF& rc = obj.m_rcObject;
    const float w = std::max(rc.Width, rc.Height * 4 / 3);
    const float h = w * 3 / 4;
    obj.m_rcPhoto = {rc.X - (w - rc.Width) / 2, rc.Y - (h - rc.Height) / 2, w, h};
    obj.m_rcPhotoLocal = obj.m_rcPhoto;
}
