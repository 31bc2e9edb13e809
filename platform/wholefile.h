#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at strPath by bytes only once they are all written, so that a crash, a full disk
// or a killed process leaves the old file or the new one, never half of one. False when it could not.
bool WriteWholeFile(const QString& strPath, const QByteArray& bytes);
