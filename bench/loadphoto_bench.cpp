#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>

#include "bench/bench.h"
#include "document/thedata.h"

namespace {

// A camera-sized photo with detail everywhere, so the decoder has real work to do.
QString MakePhoto(const QTemporaryDir& dir)
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 4000, 3000);
    gradient.setColorAt(0, QColor(20, 80, 200));
    gradient.setColorAt(1, QColor(240, 180, 40));
    painter.fillRect(image.rect(), gradient);
    painter.setPen(QPen(QColor(250, 250, 250), 3));
    for (int i = 0; i < 4000; i += 37)
        painter.drawLine(i, 0, 4000 - i, 3000);
    painter.end();
    const QString strPath = dir.filePath(QStringLiteral("photo.jpg"));
    image.save(strPath, "JPEG", 92);
    return strPath;
}

const BenchRegistrar registrar("loadphoto", [] {
    QTemporaryDir dir;
    const QString strPath = MakePhoto(dir);
    const double dFull = BestOf(5, [&] {
        QImageReader reader(strPath);
        const QImage image = reader.read();
        if (image.isNull())
            std::abort();
    });
    const double dWorking = BestOf(5, [&] {
        TheData obj;
        obj.m_strPhoto = strPath;
        obj.LoadPhoto();
    });
    BenchReport("full_decode_4000x3000", dFull * 1000, "ms");
    BenchReport("loadphoto_4000x3000", dWorking * 1000, "ms");
    BenchReport("loadphoto_vs_full_decode", dWorking / dFull, "x");
});

} // namespace
