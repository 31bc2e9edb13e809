// The outputs beyond the export dialog's: a very large export's memory, printing to a PDF file and the
// full preview's repaints.
#include <cstdlib>

#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>

#include "bench/bench.h"
#include "dialogs/dlgprint.h"
#include "dialogs/fulldlg.h"
#include "document/carddocument.h"
#include "session/printchoices.h"
#include "templates/cardloader.h"
#include "widgets/shellprompts.h"

namespace {

QString ShippedTemplate()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Template/cards/Christmas/temp1.xml");
}

// The largest size the export dialog takes, exported by the command-line renderer in a process of its
// own, so that its peak memory is its own.
const BenchRegistrar exportRegistrar("export_9999_peak_mb", [] {
    QTemporaryDir dir;
    QProcess render;
    render.start(QCoreApplication::applicationDirPath() + QStringLiteral("/velomira-render"),
        {QStringLiteral("--width"), QStringLiteral("9999"), ShippedTemplate(),
            dir.filePath(QStringLiteral("big.jpg"))});
    if (!render.waitForFinished(300000) || render.exitStatus() != QProcess::NormalExit || render.exitCode() != 0)
        std::abort();
    rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    BenchReport("export_9999_peak_mb", double(usage.ru_maxrss) / 1024, "MB");
});

// Answers the print dialog with a PDF file, as a user choosing "Print to File (PDF)" does.
class PdfPrompts : public CShellPrompts {
public:
    explicit PdfPrompts(QString strPdf)
        : m_strPdf(std::move(strPdf))
    {
    }
    int RunModal(QDialog& dialog) override
    {
        auto* pPrintDialog = qobject_cast<QPrintDialog*>(&dialog);
        if (!pPrintDialog)
            return QDialog::Rejected;
        pPrintDialog->printer()->setOutputFormat(QPrinter::PdfFormat);
        pPrintDialog->printer()->setOutputFileName(m_strPdf);
        return QDialog::Accepted;
    }

private:
    QString m_strPdf;
};

const BenchRegistrar printRegistrar("print_pdf_a4", [] {
    QTemporaryDir dir;
    CardDocument doc;
    if (!OpenCardFile(ShippedTemplate(), doc, nullptr))
        std::abort();
    PdfPrompts prompts(dir.filePath(QStringLiteral("card.pdf")));
    const double dPrint = BestOf(3, [&] {
        DlgPrint dlg(nullptr, doc, nullptr, prompts);
        dlg.OnPrint();
    });
    if (QFileInfo(dir.filePath(QStringLiteral("card.pdf"))).size() == 0)
        std::abort();
    BenchReport("print_pdf_a4", dPrint * 1000, "ms");
});

// A shipped card folded in four: the whole sheet drawn by the print dialog's page printing into a PDF.
const BenchRegistrar quarterFoldRegistrar("print_quarter_fold_ms", [] {
    QTemporaryDir dir;
    CardDocument doc;
    if (!OpenCardFile(ShippedTemplate(), doc, nullptr))
        std::abort();
    const QString strPdf = dir.filePath(QStringLiteral("folded.pdf"));
    PdfPrompts prompts(strPdf);
    const PrintChoices saved = g_printChoices;
    g_printChoices.nLayout = PrintLayout::QuarterFold;
    const double dPrint = BestOf(3, [&] {
        DlgPrint dlg(nullptr, doc, nullptr, prompts);
        dlg.OnPrint();
    });
    g_printChoices = saved;
    if (QFileInfo(strPdf).size() == 0)
        std::abort();
    BenchReport("print_quarter_fold_ms", dPrint * 1000, "ms");
});

// A repaint that only uncovers the full preview against one that renders the card.
const BenchRegistrar previewRegistrar("preview_expose_vs_render", [] {
    CardDocument doc;
    if (!OpenCardFile(ShippedTemplate(), doc, nullptr))
        std::abort();
    CFullDlg preview(doc, QSize(1500, 1000));
    preview.resize(1280, 800);
    preview.show();
    while (!preview.windowHandle() || !preview.windowHandle()->isExposed())
        QCoreApplication::processEvents();
    preview.repaint();
    if (preview.RenderCount() != 1)
        std::abort();
    const double dRender = BestOf(3, [&] {
        preview.Invalidate();
        preview.repaint();
    });
    const double dExpose = BestOf(3, [&] { preview.repaint(); });
    BenchReport("preview_render_ms", dRender * 1000, "ms");
    BenchReport("preview_expose_vs_render", dExpose / dRender, "x");
});

} // namespace
