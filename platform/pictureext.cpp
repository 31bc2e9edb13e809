#include "platform/pictureext.h"

#include <algorithm>

const QStringList& PictureExtensions()
{
    static const QStringList kExtensions = {QStringLiteral("bmp"), QStringLiteral("jpeg"), QStringLiteral("jpg"),
        QStringLiteral("png"), QStringLiteral("gif"), QStringLiteral("tif"), QStringLiteral("tiff")};
    return kExtensions;
}

bool IsPictureExtension(const QString& strPath)
{
    const qsizetype nDot = strPath.lastIndexOf(QLatin1Char('.'));
    if (nDot < 0)
        return false;
    const QStringView ext = QStringView(strPath).mid(nDot + 1);
    const QStringList& extensions = PictureExtensions();
    return std::any_of(extensions.cbegin(), extensions.cend(),
        [&](const QString& strKnown) { return ext.compare(strKnown, Qt::CaseInsensitive) == 0; });
}

QString PictureFileFilter()
{
    return QStringLiteral("Pictures (*.") + PictureExtensions().join(QStringLiteral(" *.")) + QLatin1Char(')');
}
