#include <cstdlib>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "bench/bench.h"
#include "document/carddocument.h"
#include "templates/cardloader.h"
#include "templates/projectfile.h"

namespace {

QString Picture(const QString& strPath, int nWidth, int nHeight)
{
    QImage image(nWidth, nHeight, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setBrush(QColor(200, 40, 60));
    painter.drawEllipse(image.rect().adjusted(4, 4, -4, -4));
    painter.end();
    QDir().mkpath(strPath.left(strPath.lastIndexOf(QLatin1Char('/'))));
    image.save(strPath);
    return strPath;
}

constexpr int kSprites = 5000;

// Opens the template named by the environment as the program does, with every display image made for
// a 1000 x 800 canvas, and writes the milliseconds it took to the file named there too.
const BenchChild loadChild("load_sprites", [] {
    const QString strTemplate = qEnvironmentVariable("VELOMIRA_BENCH_TEMPLATE");
    const QString strAppDir = qEnvironmentVariable("VELOMIRA_BENCH_APPDIR");
    QElapsedTimer timer;
    timer.start();
    CardDocument doc;
    doc.m_szClient = QSize(1000, 800);
    if (!OpenCardFile(strTemplate, doc, nullptr, strAppDir) || doc.m_vecObjects.size() != kSprites)
        return 1;
    doc.RebuildImages();
    const qint64 nMs = timer.elapsed();
    QFile out(qEnvironmentVariable("VELOMIRA_BENCH_RESULT"));
    if (!out.open(QIODevice::WriteOnly))
        return 1;
    out.write(QByteArray::number(nMs));
    return 0;
});

// A template of 5,000 sprites placing one frame: opened in a process of its own, so that its peak
// memory is its own.
const BenchRegistrar loadRegistrar("load_5000_sprites", [] {
    QTemporaryDir dir;
    const QString strAppDir = dir.path() + QLatin1Char('/');
    const QString strResources = strAppDir + QStringLiteral("Template/allresources/");
    Picture(strResources + QStringLiteral("bgimage/bg.png"), 2000, 1600);
    Picture(strResources + QStringLiteral("frame/f.png"), 400, 300);
    Picture(strResources + QStringLiteral("frame/f.jpg"), 400, 300);
    QByteArray xml = "<root><PageSceneObject PageBgImage=\"bgimage/bg.png\">";
    for (int i = 0; i < kSprites; ++i) {
        xml += "<SpriteObject nPhotoType=\"1\" strFramePath=\"frame/f.png\" PhotoFrameLeft=\""
            + QByteArray::number(i % 1800) + "\" PhotoFrameTop=\"" + QByteArray::number(i % 1400)
            + "\" PhotoFrameRight=\"200\" PhotoFrameBottom=\"150\"/>";
    }
    xml += "</PageSceneObject></root>";
    const QString strTemplate = strAppDir + QStringLiteral("Template/cards/many.xml");
    QDir().mkpath(strAppDir + QStringLiteral("Template/cards"));
    QFile file(strTemplate);
    if (!file.open(QIODevice::WriteOnly) || file.write(xml) != xml.size())
        std::abort();
    file.close();
    const QString strResult = dir.filePath(QStringLiteral("result.txt"));
    qputenv("VELOMIRA_BENCH_TEMPLATE", QFile::encodeName(strTemplate));
    qputenv("VELOMIRA_BENCH_APPDIR", QFile::encodeName(strAppDir));
    qputenv("VELOMIRA_BENCH_RESULT", QFile::encodeName(strResult));
    const ChildRun run = RunToEnd(
        QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), QStringLiteral("load_sprites")});
    QFile result(strResult);
    if (run.nExit != 0 || !result.open(QIODevice::ReadOnly))
        std::abort();
    BenchReport("load_5000_sprites", result.readAll().toDouble(), "ms");
    BenchReport("load_5000_sprites_peak_mb", run.dPeakMb, "MB");
});

// Three elements of 20000 x 20000 card pixels in a project, rendered by the command-line renderer.
const BenchRegistrar hugeRegistrar("render_huge_elements_peak_mb", [] {
    QTemporaryDir dir;
    CardDocument doc;
    doc.m_szClient = QSize(1000, 800);
    doc.m_strBackground = Picture(dir.filePath(QStringLiteral("bg.png")), 2000, 1600);
    const QString strElement = Picture(dir.filePath(QStringLiteral("element.png")), 4000, 4000);
    for (int i = 0; i < 3; ++i) {
        auto pObject = std::make_unique<TheData>();
        pObject->m_nType = OBJ_ELEMENT;
        pObject->m_strElement = strElement;
        pObject->m_rcObject = {float(-5000 * i), -3000.0f, 20000.0f, 20000.0f};
        doc.AddObject(std::move(pObject), 0);
    }
    const QString strProject = dir.filePath(QStringLiteral("huge.plk"));
    if (!SaveProjectFile(doc, strProject, nullptr, QString()))
        std::abort();
    const ChildRun run = RunToEnd(QCoreApplication::applicationDirPath() + QStringLiteral("/velomira-render"),
        {strProject, dir.filePath(QStringLiteral("huge.png"))});
    if (run.nExit != 0)
        std::abort();
    BenchReport("render_huge_elements_peak_mb", run.dPeakMb, "MB");
});

} // namespace
