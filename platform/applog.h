#pragma once

#include <QString>

// Hands one line to the logging library, which time-stamps it and appends it to the log in the folder
// "Jotwell/" of the program folder. Nothing comes back: a line that cannot be written is lost.
void WriteLog(const QString& strLine);
