#include <cstdio>
#include <cstdlib>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include "bench/bench.h"
#include "panels/piclist.h"
#include "shell/palenkoapp.h"
#include "shell/palenkodlg.h"
#include "templates/templatechoose.h"

namespace {

constexpr char kReady[] = "CHOOSER_READY";

// Answers for the user as the program starts: when the template chooser opens, it waits for the
// thumbnails the chooser asked for, paints the chooser, reports and ends the process.
class StartupProbe : public CShellPrompts {
public:
    int RunModal(QDialog& dialog) override
    {
        auto* pChooser = qobject_cast<CTemplateChoose*>(&dialog);
        if (!pChooser)
            return CShellPrompts::RunModal(dialog);
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

const BenchRegistrar registrar("startup", [] {
    const double dSeconds = BestOf(3, [] {
        QProcess process;
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
