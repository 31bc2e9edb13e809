#pragma once

#include <QString>

#include "platform/appdir.h"

// Hands one line to the logging library, which time-stamps it and appends it to the log in the log
// folder. Nothing comes back: a line that cannot be written is lost.
void WriteLog(const QString& strLine);

// The log folder of a program folder, ending in "/": "Jotwell/" inside it when it is writable,
// otherwise "velomira/Jotwell/" in the user's XDG state folder. The logging library beside the
// program follows the same rule.
QString GetLogDir(const QString& strAppDir = GetAppDir());
