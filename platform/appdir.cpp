#include "platform/appdir.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QFile>

QString GetAppDir()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

bool IsAppDirWritable(const QString& strAppDir)
{
    // The same test as the logging library's, so that settings and log always agree on the place.
    return ::access(QFile::encodeName(strAppDir).constData(), W_OK) == 0;
}
