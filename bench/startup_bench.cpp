#include <cstdio>
#include <cstdlib>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include "bench/bench.h"
#include "dialogs/templatechoose.h"
#include "document/carddocument.h"
#include "session/recentcards.h"
#include "shell/palenkoapp.h"
#include "shell/palenkodlg.h"
#include "templates/cardloader.h"
#include "templates/projectfile.h"
#include "widgets/piclist.h"

namespace {

constexpr char kReady[] = "CHOOSER_READY";

// Answers for the user as the program starts: when the template chooser opens with a full recent
// list, it waits for the thumbnails the chooser asked for, paints the chooser, reports and ends the
// process.
class StartupProbe : public CShellPrompts {
public:
    int RunModal(QDialog& dialog) override
    {
        auto* pChooser = qobject_cast<CTemplateChoose*>(&dialog);
        if (!pChooser)
            return CShellPrompts::RunModal(dialog);
        if (pChooser->m_recentProjects.size() != CRecentCards::kMaxCards) {
            std::fprintf(stderr, "the chooser lists %d recent projects\n", int(pChooser->m_recentProjects.size()));
            std::_Exit(1);
        }
        dialog.show();
        pChooser->m_pPicList->WaitForThumbnails();
        QCoreApplication::processEvents();
        dialog.repaint();
        std::puts(kReady);
        std::fflush(stdout);
        std::_Exit(0);
    }
};

// The program's start-up in a fresh process, up to the chooser's first thumbnails.
const BenchChild child("startup", [] {
    StartupProbe probe;
    CPalenkoDlg dlg(theApp, &probe);
    dlg.Run();
    return 1;
});

// A user's cache folder below strCacheHome holding a full recent list: projects saved from library
// templates, each with its thumbnail.
bool MakeRecentProjects(const QString& strCacheHome)
{
    const QString strAppDir = GetAppDir();
    const QStringList categories
        = QDir(strAppDir + QStringLiteral("Template/cards/")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    if (categories.isEmpty())
        return false;
    CRecentCards recent(strCacheHome + QStringLiteral("/velomira/recent/"));
    for (int i = 0; i < CRecentCards::kMaxCards; ++i) {
        const QString strTemplate = strAppDir
            + QStringLiteral("Template/cards/%1/temp%2.xml")
                  .arg(categories[i % categories.size()])
                  .arg(i / categories.size() + 1);
        CardDocument doc;
        const QString strProject = strCacheHome + QStringLiteral("/card%1.plk").arg(i);
        if (!OpenCardFile(strTemplate, doc, nullptr, strAppDir) || !SaveProjectFile(doc, strProject, nullptr, strAppDir)
            || !recent.Remember(strProject, doc, true))
            return false;
    }
    return true;
}

const BenchRegistrar registrar("startup", [] {
    const QTemporaryDir cacheHome;
    if (!MakeRecentProjects(cacheHome.path())) {
        std::fprintf(stderr, "startup bench: the recent projects could not be made\n");
        std::exit(1);
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), cacheHome.path());
    const double dSeconds = BestOf(3, [&environment] {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), QStringLiteral("startup")});
        QByteArray output;
        while (!output.contains(kReady) && process.waitForReadyRead(60000))
            output += process.readAllStandardOutput();
        process.waitForFinished(10000);
        if (!output.contains(kReady)) {
            std::fprintf(stderr, "startup probe failed: %s\n", process.readAllStandardError().constData());
            std::exit(1);
        }
    });
    BenchReport("startup_to_chooser", dSeconds * 1000, "ms");
});

} // namespace
