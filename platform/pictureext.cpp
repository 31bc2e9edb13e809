#include "platform/pictureext.h"

#include <array>

bool IsPictureExtension(const QString& strPath)
{
    static const std::array<QLatin1String, 7> kExtensions = {
        QLatin1String("bmp"),
        QLatin1String("jpeg"),
        QLatin1String("jpg"),
        QLatin1String("png"),
        QLatin1String("gif"),
        QLatin1String("tif"),
        QLatin1String("tiff"),
    };
    const qsizetype nDot = strPath.lastIndexOf(QLatin1Char('.'));
    if (nDot < 0)
        return false;
    const QStringView ext = QStringView(strPath).mid(nDot + 1);
    for (const QLatin1String& known : kExtensions) {
        if (ext.compare(known, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}
