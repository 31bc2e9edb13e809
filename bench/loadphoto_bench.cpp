#include <QImageReader>
#include <QTemporaryDir>

#include "bench/bench.h"
#include "bench/benchpictures.h"
#include "document/thedata.h"

namespace {

const BenchRegistrar registrar("loadphoto", [] {
    QTemporaryDir dir;
    const QString strPath = WriteCameraPhoto(dir.filePath(QStringLiteral("photo.jpg")));
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
