#include "shell/version.h"

// The build sets VELOMIRA_VERSION from the project version.
#ifndef VELOMIRA_VERSION
#define VELOMIRA_VERSION ""
#endif

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
