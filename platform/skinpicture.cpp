#include "platform/skinpicture.h"

#include <QFileInfo>

#include "platform/imageio.h"

namespace {

// The @2x picture, carrying ratio 2; null when there is none or it cannot be read.
QImage Read2x(const QString& strPath)
{
    const QString str2x = SkinPath2x(strPath);
    if (!QFileInfo(str2x).isFile())
        return QImage();
    QImage picture = ReadPicture(str2x);
    if (!picture.isNull())
        picture.setDevicePixelRatio(2);
    return picture;
}

QImage Read1x(const QString& strPath)
{
    QImage picture = ReadPicture(strPath);
    // ReadPicture may take a ratio from an "@Nx" name; a 1x picture is one pixel per logical pixel.
    if (!picture.isNull())
        picture.setDevicePixelRatio(1);
    return picture;
}

} // namespace

QString SkinPath2x(const QString& strPath)
{
    const int nSlash = int(strPath.lastIndexOf(QLatin1Char('/')));
    const int nDot = int(strPath.lastIndexOf(QLatin1Char('.')));
    const int nAt = nDot > nSlash ? nDot : int(strPath.size());
    return strPath.left(nAt) + QStringLiteral("@2x") + strPath.mid(nAt);
}

QImage ReadSkin(const QString& strPath, qreal dRatio)
{
    if (dRatio > 1) {
        QImage picture = Read2x(strPath);
        if (!picture.isNull())
            return picture;
    }
    return Read1x(strPath);
}

SkinPicture::SkinPicture(const QString& strPath)
    : m_strPath(strPath)
    , m_img1x(Read1x(strPath))
{
}

const QImage& SkinPicture::ForRatio(qreal dRatio) const
{
    if (dRatio <= 1)
        return m_img1x;
    if (!m_b2xRead) {
        m_img2x = Read2x(m_strPath);
        m_b2xRead = true;
    }
    return m_img2x.isNull() ? m_img1x : m_img2x;
}
