#include "platform/applog.h"

#include "jotwell/jotwell.h"

void WriteLog(const QString& strLine)
{
    // utf16() is always zero-terminated, which is what the library expects.
    JotwellWriteLine(reinterpret_cast<const char16_t*>(strLine.utf16()));
}

QString GetLogDir(const QString& strAppDir)
{
    return (IsAppDirWritable(strAppDir) ? strAppDir : GetUserStateDir()) + QStringLiteral("Jotwell/");
}
