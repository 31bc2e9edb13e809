#include "platform/applog.h"

#include <QDir>

#include "jotwell/jotwell.h"

void WriteLog(const QString& strLine)
{
    // utf16() is always zero-terminated, which is what the library expects.
    JotwellWriteLine(reinterpret_cast<const char16_t*>(strLine.utf16()));
}

QString GetLogDir(const QString& strAppDir)
{
    if (IsAppDirWritable(strAppDir))
        return strAppDir + QStringLiteral("Jotwell/");
    // Qt names no state folder before 6.7: the XDG default is spelled out.
    QString strState = qEnvironmentVariable("XDG_STATE_HOME");
    if (!strState.startsWith(QLatin1Char('/')))
        strState = QDir::homePath() + QStringLiteral("/.local/state");
    return strState + QStringLiteral("/velomira/Jotwell/");
}
