#include <QImageReader>
#include <QTemporaryDir>

#include "bench/bench.h"
#include "bench/benchpictures.h"
#include "document/sharedpictures.h"
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
    // Each run decodes the file: the shared working copy the last one made is dropped first.
    const double dWorking = BestOf(5, [&] {
        DropUnusedPictures();
        TheData obj;
        obj.m_strPhoto = strPath;
        obj.LoadPhoto();
        if (!obj.m_pPhoto || obj.m_pPhoto->isNull())
            std::abort();
    });
    BenchReport("full_decode_4000x3000", dFull * 1000, "ms");
    BenchReport("loadphoto_4000x3000", dWorking * 1000, "ms");
    BenchReport("loadphoto_vs_full_decode", dWorking / dFull, "x");
});

} // namespace
