// Mail merge: a card per row against rendering the card once, cards a second, and the peak memory of a
// long list against a short one. Each runs velomira-render as the user would.
#include <cstdlib>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "bench/bench.h"
#include "bench/benchpictures.h"
#include "document/carddocument.h"
#include "templates/cardloader.h"
#include "templates/projectfile.h"

namespace {

// velomira-render run to its end, its progress lines left out of the figure; a failed run is no figure.
ChildRun RunRenderer(const QStringList& args)
{
    const ChildRun run
        = RunToEnd(QCoreApplication::applicationDirPath() + QStringLiteral("/velomira-render"), args, true);
    if (run.nExit != 0)
        std::abort();
    return run;
}

// The shipped wedding invitation ({Name}, {Date}, {Place}) with a camera photo in its frame and a
// second one laid over a corner, saved as a project.
QString InvitationWithPhotos(const QTemporaryDir& dir)
{
    CardDocument doc;
    const QString strTemplate = QCoreApplication::applicationDirPath() + "/Template/cards/Wedding/temp6.xml";
    if (!OpenCardFile(strTemplate, doc, nullptr, GetAppDir(), CardUse::Output))
        std::abort();
    int nPhotos = 0;
    for (const auto& pObject : doc.m_vecObjects) {
        if (pObject->m_nType == OBJ_PHOTO && nPhotos == 0)
            CoverWithPhoto(*pObject, WriteCameraPhoto(dir.filePath(QStringLiteral("photo%1.jpg").arg(nPhotos++))));
    }
    auto pCorner = std::make_unique<TheData>();
    pCorner->m_rcObject = {20, 20, float(doc.m_szClient.width() / 4), float(doc.m_szClient.width() / 4) * 3 / 4};
    CoverWithPhoto(*pCorner, WriteCameraPhoto(dir.filePath(QStringLiteral("photo%1.jpg").arg(nPhotos++))));
    doc.AddObject(std::move(pCorner), 0);
    if (nPhotos != 2)
        std::abort();
    const QString strProject = dir.filePath(QStringLiteral("invitation.plk"));
    if (!SaveProjectFile(doc, strProject, nullptr))
        std::abort();
    return strProject;
}

QString GuestList(const QTemporaryDir& dir, int nRows)
{
    const QString strPath = dir.filePath(QStringLiteral("guests%1.csv").arg(nRows));
    QFile file(strPath);
    if (!file.open(QIODevice::WriteOnly))
        std::abort();
    file.write("Name,Date,Place\n");
    for (int i = 0; i < nRows; ++i)
        file.write(QStringLiteral("Guest %1 & Partner,\"Saturday, %2 June\",\"Hall %1, Oakford\"\n")
                       .arg(i)
                       .arg(1 + i % 28)
                       .toUtf8());
    return strPath;
}

const BenchRegistrar perCardRegistrar("merge_per_card_vs_single_render", [] {
    QTemporaryDir dir;
    const QString strCard = InvitationWithPhotos(dir);
    const QString strSingle = dir.filePath(QStringLiteral("single.jpg"));
    double dSingle = 1e30;
    for (int i = 0; i < 3; ++i)
        dSingle = std::min(dSingle, RunRenderer({strCard, strSingle, "--width", "1500"}).dSeconds);
    const ChildRun merge = RunRenderer({strCard, "--merge", GuestList(dir, 200), "--output",
        dir.filePath(QStringLiteral("cards/{Name}.jpg")), "--width", "1500"});
    BenchReport("merge_single_render_ms", dSingle * 1000, "ms");
    BenchReport("merge_200_cards_s", merge.dSeconds, "s");
    BenchReport("merge_per_card_vs_single_render", merge.dSeconds / 200 / dSingle, "x");
});

const BenchRegistrar throughputRegistrar("merge_1000_cards_per_s", [] {
    QTemporaryDir dir;
    const QString strCard = InvitationWithPhotos(dir);
    const auto merge = [&](int nRows) {
        return RunRenderer({strCard, "--merge", GuestList(dir, nRows), "--output",
            dir.filePath(QStringLiteral("cards%1/{Name}.jpg").arg(nRows)), "--width", "1500", "--jobs", "2"});
    };
    const ChildRun ten = merge(10);
    const ChildRun thousand = merge(1000);
    BenchReport("merge_1000_cards_per_s", 1000 / thousand.dSeconds, "cards/s");
    BenchReport("merge_peak_mb_10", ten.dPeakMb, "MB");
    BenchReport("merge_peak_mb_1000", thousand.dPeakMb, "MB");
    BenchReport("merge_peak_mb_1000_vs_10", thousand.dPeakMb / ten.dPeakMb, "x");
});

} // namespace
