#include <QApplication>
#include <QStringList>

#include "shell/palenkoapp.h"

int main(int argc, char** argv)
{
    // --version and --help answer before anything needs a display.
    QStringList listArgs;
    for (int i = 1; i < argc; ++i)
        listArgs.append(QString::fromLocal8Bit(argv[i]));
    if (const auto nExit = CPalenkoApp::InfoSwitch(listArgs))
        return *nExit;

    QApplication app(argc, argv);
    theApp.InitInstance();
    return theApp.ExitInstance();
}
