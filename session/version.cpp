#include "session/version.h"

#include "session/buildversion.h"

QString GetFileVersionText()
{
    return FileVersionText(QStringLiteral(VELOMIRA_VERSION));
}

QString FileVersionText(const QString& strBuildVersion)
{
    if (strBuildVersion.isEmpty())
        return QStringLiteral("None VerSion Supprot");
    return strBuildVersion;
}
