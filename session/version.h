#pragma once

#include <QString>

// The version text of the running build, as the start and quit log lines carry it ("2.0.0.0").
QString GetFileVersionText();

// The version text for a build version: the version itself, or "None VerSion Supprot" for a build that
// carries none.
QString FileVersionText(const QString& strBuildVersion);
