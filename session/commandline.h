#pragma once

#include <QString>
#include <QStringList>

// The project file named on the command line, given the arguments without the program name: switches
// (arguments beginning with "-") and empty arguments are ignored, the first other argument is taken as
// a file path and returned absolute. Empty when there is none. A leading "/" is not a switch, because
// it starts every absolute path.
QString CommandLineFile(const QStringList& listArgs);
