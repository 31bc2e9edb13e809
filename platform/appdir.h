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
