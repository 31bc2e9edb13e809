#pragma once

#include <QString>

// The folder of the running executable followed by "/"; every data path is built on it.
QString GetAppDir();

// Whether the program folder can be written, as a copy the user built or unpacked can. An installed
// copy cannot: the user's own files (settings, log) then go to the user's XDG folders.
bool IsAppDirWritable(const QString& strAppDir);

// The program's folder in the user's XDG state folder ($XDG_STATE_HOME, by default ~/.local/state):
// ".../velomira/". The log of a read-only program folder and the autosave copies live below it.
QString GetUserStateDir();

// The sizes, in pixels, of the program's icon. The program folder holds each below Icons/ in the
// layout of the desktop's hicolor icon theme, which is also where an installation puts them.
constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256, 512};

// The program's icon of nSize pixels below the icon folder strIconDir:
// strIconDir + "hicolor/NxN/apps/velomira.png".
QString AppIconPath(const QString& strIconDir, int nSize);
