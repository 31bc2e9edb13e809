#include <cstdio>
#include <cstdlib>
#include <set>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "bench/bench.h"
#include "bench/benchpictures.h"
#include "widgets/piclist.h"

namespace {

constexpr int kPictures = 60;

// Sixty camera-sized photos with detail everywhere; one is drawn and encoded, the rest are copies.
QStringList MakePhotos(const QTemporaryDir& dir)
{
    const QString strFirst = WriteCameraPhoto(dir.filePath(QStringLiteral("photo00.jpg")));
    QStringList paths = {strFirst};
    for (int i = 1; i < kPictures; ++i) {
        const QString strPath = dir.filePath(QStringLiteral("photo%1.jpg").arg(i, 2, 10, QLatin1Char('0')));
        QFile::copy(strFirst, strPath);
        paths << strPath;
    }
    return paths;
}

// Counts the cells painted while they held their thumbnail.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override
    {
        if (pEvent->type() == QEvent::Paint) {
            auto* pCell = static_cast<CImgCtrl*>(pWatched);
            if (pCell->m_pThumb)
                m_painted.insert(pCell);
        }
        return false;
    }
    std::set<CImgCtrl*> m_painted;
};

// Shows the folder in a list tall enough for every row and waits until every cell has been painted
// with its thumbnail.
void FillList(const QString& strFolder)
{
    CPicList list;
    list.Create(QRect(0, 0, 568, (kPictures / 3) * 180 + 20));
    PaintCounter counter;
    list.ShowFolder(strFolder + QStringLiteral("/*.*"));
    // Nothing is painted before the event loop runs, so the cells are watched from here on.
    for (CImgCtrl* pCell : list.m_cells)
        pCell->installEventFilter(&counter);
    QElapsedTimer timer;
    timer.start();
    while (int(counter.m_painted.size()) < kPictures) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
        if (timer.elapsed() > 120000) {
            std::printf("note: only %d of %d thumbnails were painted\n", int(counter.m_painted.size()), kPictures);
            std::abort();
        }
    }
}

const BenchRegistrar registrar("piclist", [] {
    QTemporaryDir dir;
    const QStringList photos = MakePhotos(dir);
    const double dFill = BestOf(3, [&] { FillList(dir.path()); });
    BenchReport("piclist_fill_60x4000x3000", dFill * 1000, "ms");

    const QString strVips = QStandardPaths::findExecutable(QStringLiteral("vipsthumbnail"));
    if (strVips.isEmpty()) {
        std::printf("note: vipsthumbnail is not installed; piclist_fill_vs_vips skipped\n");
        return;
    }
    QTemporaryDir outDir;
    QStringList args = {QStringLiteral("-s"), QStringLiteral("160"), QStringLiteral("-o"),
        outDir.filePath(QStringLiteral("%s_thumb.jpg"))};
    args << photos;
    bool bFailed = false;
    const double dVips = BestOf(3, [&] {
        QProcess vips;
        vips.start(strVips, args);
        if (!vips.waitForFinished(-1) || vips.exitCode() != 0)
            bFailed = true;
    });
    if (bFailed) {
        std::printf("note: vipsthumbnail failed; piclist_fill_vs_vips skipped\n");
        return;
    }
    BenchReport("vipsthumbnail_60x4000x3000", dVips * 1000, "ms");
    BenchReport("piclist_fill_vs_vips", dFill / dVips, "x");
});

} // namespace
