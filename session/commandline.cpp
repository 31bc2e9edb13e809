#include "session/commandline.h"

#include <QFileInfo>

QString CommandLineFile(const QStringList& listArgs)
{
    for (const QString& strArg : listArgs) {
        if (strArg.isEmpty() || strArg.startsWith(QLatin1Char('-')))
            continue;
        return QFileInfo(strArg).absoluteFilePath();
    }
    return QString();
}
