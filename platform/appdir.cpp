#include "platform/appdir.h"

#include <QCoreApplication>

QString GetAppDir()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}
