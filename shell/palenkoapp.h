#pragma once

#include <optional>

#include <QString>
#include <QStringList>

// The application object: the process around the main window. One instance, theApp, exists.
class CPalenkoApp {
public:
    CPalenkoApp();

    // Runs the whole program: takes the project file from the command line and runs the main window
    // until it closes. Returns false: the process ends when the main window does.
    bool InitInstance();
    // The process exit code.
    int ExitInstance();

    // The answer to --version ("Velomira 2.0.0.0") or --help (a short usage), printed on the standard
    // output, for arguments without the program name. Returns the exit code when one of them was given
    // (the first one counts), nothing otherwise. Needs no display and no application object.
    static std::optional<int> InfoSwitch(const QStringList& listArgs);

    // The current project file: from the command line, then the file last opened or saved; empty for a
    // card made from a template and never saved.
    QString m_strCurrentFile;
};

extern CPalenkoApp theApp;
