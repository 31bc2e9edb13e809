#include <algorithm>
#include <cstdio>
#include <memory>

#include <QApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include "bench/bench.h"
#include "bench/benchpictures.h"
#include "canvas/canvas.h"
#include "document/thedata.h"
#include "panels/thumblist.h"

namespace {

constexpr int kPhotos = 100;

// 100 camera photos (copies of one: every copy is decoded in full all the same).
QStringList WritePhotos(const QTemporaryDir& dir)
{
    const QString strFirst = WriteCameraPhoto(dir.filePath(QStringLiteral("photo000.jpg")));
    QStringList vecPaths {strFirst};
    for (int i = 1; i < kPhotos; ++i) {
        const QString strPath = dir.filePath(QStringLiteral("photo%1.jpg").arg(i, 3, 10, QLatin1Char('0')));
        QFile::copy(strFirst, strPath);
        vecPaths.append(strPath);
    }
    return vecPaths;
}

// Seconds vipsthumbnail takes for the photos split between two processes run side by side; 0 when
// it is not installed.
double VipsSeconds(const QStringList& vecPaths, const QString& strOutDir)
{
    const QString strVips = QStandardPaths::findExecutable(QStringLiteral("vipsthumbnail"));
    if (strVips.isEmpty())
        return 0;
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<QProcess> processes[2];
    for (int n = 0; n < 2; ++n) {
        QStringList args {
            QStringLiteral("-s"), QStringLiteral("52"), QStringLiteral("-o"), strOutDir + QStringLiteral("/%s_t.jpg")};
        for (int i = n; i < vecPaths.size(); i += 2)
            args.append(vecPaths[i]);
        processes[n] = std::make_unique<QProcess>();
        processes[n]->start(strVips, args);
    }
    for (auto& pProcess : processes)
        pProcess->waitForFinished(-1);
    return timer.nsecsElapsed() / 1e9;
}

const BenchRegistrar thumblist("thumblist", [] {
    QTemporaryDir dir;
    QTemporaryDir outDir;
    const QStringList vecPaths = WritePhotos(dir);

    CThumbList list;
    list.resize(180, 400);
    list.show();
    QApplication::processEvents();

    // The user-interface thread's longest wait between two ticks of a 1 ms timer while the list fills.
    QElapsedTimer tick;
    qint64 nLongestGap = 0;
    QTimer timer;
    timer.setInterval(1);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        nLongestGap = std::max(nLongestGap, tick.nsecsElapsed());
        tick.restart();
    });
    QEventLoop loop;
    QObject::connect(&list, &CThumbList::FillFinished, &loop, &QEventLoop::quit);
    QElapsedTimer fill;
    fill.start();
    tick.start();
    timer.start();
    list.LoadFolder(dir.path());
    loop.exec();
    const double dFill = fill.nsecsElapsed() / 1e9;
    timer.stop();

    const double dVips = VipsSeconds(vecPaths, outDir.path());
    if (dVips > 0)
        BenchReport("thumblist_fill_vs_vips", dFill / dVips, "x");
    else
        std::printf("# thumblist_fill_vs_vips skipped: vipsthumbnail not installed (fill %.3f s)\n", dFill);
    BenchReport("thumblist_ui_stall_ms", nLongestGap / 1e6, "ms");
});

const BenchRegistrar dropPhoto("drop_photo_on_frame", [] {
    QTemporaryDir dir;
    const QString strPhoto = WriteCameraPhoto(dir.filePath(QStringLiteral("photo.jpg")));
    QImage frame(900, 700, QImage::Format_ARGB32);
    frame.fill(QColor(200, 160, 40));
    for (int y = 100; y < 600; ++y)
        std::fill_n(reinterpret_cast<QRgb*>(frame.scanLine(y)) + 100, 700, 0u);
    const QString strFrame = dir.filePath(QStringLiteral("frame.png"));
    frame.save(strFrame);
    QImage mask(900, 700, QImage::Format_RGB32);
    mask.fill(Qt::white);
    mask.save(dir.filePath(QStringLiteral("frame.jpg")), "JPEG", 95);

    QWidget window;
    window.resize(820, 620);
    auto* pCanvas = new Canvas(&window);
    pCanvas->setGeometry(10, 10, 800, 600);
    window.show();
    QApplication::processEvents();
    auto pPlaceholder = std::make_unique<TheData>();
    pPlaceholder->m_nType = OBJ_PHOTO;
    pPlaceholder->m_strFrame = strFrame;
    pPlaceholder->m_strFrameMask = dir.filePath(QStringLiteral("frame.jpg"));
    pPlaceholder->m_rcObject = {200, 150, 360, 280};
    pPlaceholder->LoadImages();
    pPlaceholder->RebuildImage();
    pCanvas->AddObject(std::move(pPlaceholder), 0);

    QMimeData data;
    data.setText(QStringLiteral("photo@") + strPhoto);
    const QPoint pt(380, 290);
    const double dSeconds = BestOf(3, [&] {
        QDragEnterEvent enter(pt, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pCanvas, &enter);
        // The drop ends with the canvas repainted.
        QDropEvent drop(pt, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pCanvas, &drop);
    });
    BenchReport("drop_photo_on_frame", dSeconds * 1e3, "ms");
});

} // namespace
