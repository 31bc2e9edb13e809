#pragma once

#include <QString>

// The folder of the running executable followed by "/"; every data path is built on it.
QString GetAppDir();
