// A card as a PDF at its print size: the time it takes and its file against the same card's JPEG.
#include <algorithm>
#include <cstdlib>

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include "bench/bench.h"
#include "bench/benchpictures.h"
#include "document/carddocument.h"
#include "platform/appdir.h"
#include "platform/imageio.h"
#include "render/cardimage.h"
#include "render/pdfexport.h"
#include "templates/cardloader.h"

namespace {

// A shipped card whose three photo places are covered by 12-megapixel camera photos (4:3, centred),
// written as a PDF at its print size (300 ppi) and as a quality-100 JPEG at its pixel size, the
// export dialog's JPEG of the same 300 ppi.
const BenchRegistrar pdfRegistrar("pdf_export_ms", [] {
    QTemporaryDir dir;
    CardDocument doc;
    if (!OpenCardFile(QCoreApplication::applicationDirPath() + QStringLiteral("/Template/cards/Birthday/temp3.xml"),
            doc, nullptr, GetAppDir(), CardUse::Output))
        std::abort();
    const QColor colours[] = {QColor(20, 120, 40), QColor(200, 60, 40), QColor(40, 80, 200)};
    int nPhotos = 0;
    for (const auto& pObject : doc.m_vecObjects) {
        if (pObject->m_nType != OBJ_PHOTO || nPhotos >= 3)
            continue;
        const QString strPhoto = dir.filePath(QStringLiteral("photo%1.jpg").arg(nPhotos));
        DetailedPicture(4000, 3000, colours[nPhotos], colours[(nPhotos + 1) % 3]).save(strPhoto, "JPEG", 92);
        TheData& obj = *pObject;
        obj.m_strPhoto = strPhoto;
        const RectF& rc = obj.m_rcObject;
        const float w = std::max(rc.Width, rc.Height * 4 / 3);
        obj.m_rcPhoto = {rc.X - (w - rc.Width) / 2, rc.Y - (w * 3 / 4 - rc.Height) / 2, w, w * 3 / 4};
        obj.m_rcPhotoLocal = obj.m_rcPhoto;
        ++nPhotos;
    }
    const QSize szCard = ReadPictureSize(doc.m_strBackground);
    if (nPhotos != 3 || szCard.isEmpty())
        std::abort();
    const QString strPdf = dir.filePath(QStringLiteral("card.pdf"));
    const QString strJpeg = dir.filePath(QStringLiteral("card.jpg"));
    const double dPdf = BestOf(3, [&] {
        if (!SaveCardPdf(doc, szCard, strPdf, false))
            std::abort();
    });
    if (!SaveCardImage(doc, szCard.width(), szCard.height(), strJpeg))
        std::abort();
    const double dPdfMb = double(QFileInfo(strPdf).size()) / (1 << 20);
    const double dJpegMb = double(QFileInfo(strJpeg).size()) / (1 << 20);
    BenchReport("pdf_export_ms", dPdf * 1000, "ms");
    BenchReport("pdf_export_mb", dPdfMb, "MB");
    BenchReport("pdf_export_mb_vs_jpeg", dPdfMb / dJpegMb, "x");
});

} // namespace
