#include "shell/palenkoapp.h"

#include <cstdio>

#include <QApplication>
#include <QStyleFactory>

#include "shell/commandline.h"
#include "shell/palenkodlg.h"
#include "shell/version.h"

CPalenkoApp theApp;

namespace {

const char kUsage[] = "Usage: velomira [PROJECT.plk]\n"
                      "\n"
                      "Makes greeting cards from templates, photos, clip art and text.\n"
                      "\n"
                      "  PROJECT.plk  a card saved earlier, opened at start-up; without it the program\n"
                      "               starts with the template chooser\n"
                      "  --help       show this text\n"
                      "  --version    show the version\n";

} // namespace

CPalenkoApp::CPalenkoApp() = default;

std::optional<int> CPalenkoApp::InfoSwitch(const QStringList& listArgs)
{
    for (const QString& strArg : listArgs) {
        if (strArg == QLatin1String("--version")) {
            std::printf("Velomira %s\n", GetFileVersionText().toLocal8Bit().constData());
            return 0;
        }
        if (strArg == QLatin1String("--help")) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    return std::nullopt;
}

bool CPalenkoApp::InitInstance()
{
    // The per-user names under which the toolkit keeps its own state; the program keeps nothing there.
    QCoreApplication::setOrganizationName(QStringLiteral("Velomira"));
    QCoreApplication::setApplicationName(QStringLiteral("Velomira"));
    QCoreApplication::setApplicationVersion(GetFileVersionText());
    // One look for the toolkit-drawn controls, whatever the desktop.
    if (QStyle* pStyle = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(pStyle);

    m_strCurrentFile = CommandLineFile(QCoreApplication::arguments().mid(1));

    CPalenkoDlg dlg(*this);
    dlg.exec();
    return false;
}

int CPalenkoApp::ExitInstance()
{
    return 0;
}
