#include "platform/appdir.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
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

QString GetUserStateDir()
{
    // Qt names no state folder before 6.7: the XDG default is spelled out.
    QString strState = qEnvironmentVariable("XDG_STATE_HOME");
    if (!strState.startsWith(QLatin1Char('/')))
        strState = QDir::homePath() + QStringLiteral("/.local/state");
    return strState + QStringLiteral("/velomira/");
}

QString AppIconPath(const QString& strIconDir, int nSize)
{
    return strIconDir + QStringLiteral("hicolor/%1x%1/apps/velomira.png").arg(nSize);
}
