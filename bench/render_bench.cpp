// Output against the machine's limit: a card exported against decoding its pictures at the size they
// are drawn at, a card of six camera photos opened for editing, and thousands of sprites of one
// clip-art.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QThread>

#include <jpeglib.h>

#include "bench/bench.h"
#include "bench/benchpictures.h"
#include "document/carddocument.h"
#include "document/sharedpictures.h"
#include "platform/imageio.h"
#include "render/cardimage.h"
#include "render/renderer.h"
#include "templates/cardloader.h"
#include "templates/projectfile.h"

namespace {

// Decodes a JPEG file at n / 8 of its size with libjpeg alone, as a decoder with nothing else to do
// would; aborts on a damaged file.
void DecodeWithLibjpeg(const QByteArray& bytes, int nEighths)
{
    jpeg_decompress_struct info {};
    jpeg_error_mgr error {};
    info.err = jpeg_std_error(&error);
    error.error_exit = [](j_common_ptr) { std::abort(); };
    jpeg_create_decompress(&info);
    jpeg_mem_src(
        &info, reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = info.jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_EXT_BGRX;
    info.scale_num = unsigned(nEighths);
    info.scale_denom = 8;
    jpeg_start_decompress(&info);
    std::vector<unsigned char> row(size_t(info.output_width) * size_t(info.output_components));
    while (info.output_scanline < info.output_height) {
        JSAMPROW pRow = row.data();
        jpeg_read_scanlines(&info, &pRow, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
}

// The seconds of one core it takes to decode every picture the card draws at the size it draws it:
// JPEG files with libjpeg at the eighth that covers that size, other files whole with Qt's reader.
double DecodeFloor(const CardDocument& doc, QSize szCard)
{
    std::vector<std::pair<QString, QSize>> vecReads {{doc.m_strBackground, szCard}};
    // The output transform of the card at this size, as an export sets it.
    g_output = {0, 0, double(szCard.width()) / doc.m_szClient.width(),
        double(szCard.height()) / doc.m_szClient.height(), QRect(QPoint(0, 0), szCard)};
    for (const auto& pObject : doc.m_vecObjects) {
        const TheData& obj = *pObject;
        if (const auto read = SharedRead(obj))
            vecReads.push_back(*read);
        const QSize szObject(
            int(obj.m_rcObject.Width * g_output.dScaleX), int(obj.m_rcObject.Height * g_output.dScaleY));
        if (!obj.m_strPhoto.isEmpty() && !obj.m_strFrame.isEmpty())
            vecReads.push_back({obj.m_strPhoto,
                QSize(int(obj.m_rcPhotoLocal.Width * g_output.dScaleX),
                    int(obj.m_rcPhotoLocal.Height * g_output.dScaleY))});
        for (const QString* pstrMask : {&obj.m_strMask, &obj.m_strFrameMask}) {
            if (!pstrMask->isEmpty() && QFile::exists(*pstrMask))
                vecReads.push_back({*pstrMask, szObject});
        }
    }
    std::vector<std::pair<QByteArray, QSize>> vecFiles;
    for (const auto& [strPath, szDrawn] : vecReads) {
        QFile file(strPath);
        if (file.open(QIODevice::ReadOnly))
            vecFiles.push_back({file.readAll(), szDrawn});
    }
    return BestOf(3, [&] {
        for (const auto& [bytes, szDrawn] : vecFiles) {
            QBuffer buffer;
            buffer.setData(bytes);
            QImageReader reader(&buffer);
            if (reader.format() == "jpeg") {
                DecodeWithLibjpeg(bytes, JpegScaleFor(reader.size(), szDrawn));
            } else if (reader.read().isNull()) {
                std::abort();
            }
        }
    });
}

// A 4000 x 3000 camera photo of its own colours, as a JPEG.
QString CameraPhoto(const QTemporaryDir& dir, int i)
{
    const QColor colours[] = {QColor(20, 120, 40), QColor(200, 60, 40), QColor(40, 80, 200), QColor(220, 180, 30),
        QColor(120, 40, 160), QColor(30, 160, 170)};
    const QString strPath = dir.filePath(QStringLiteral("photo%1.jpg").arg(i));
    DetailedPicture(4000, 3000, colours[i % 6], colours[(i + 3) % 6]).save(strPath, "JPEG", 92);
    return strPath;
}

QString ShippedTemplate(const char* pszName)
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Template/cards/") + QLatin1String(pszName);
}

QString ShippedResource(const char* pszName)
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Template/allresources/") + QLatin1String(pszName);
}

// A shipped card whose three photo places hold camera photos, exported at its own size, against the
// floor: decoding its pictures at their drawn size spread over the cores, and encoding the card.
const BenchRegistrar floorRegistrar("export_vs_floor", [] {
    QTemporaryDir dir;
    CardDocument doc;
    if (!OpenCardFile(ShippedTemplate("Birthday/temp3.xml"), doc, nullptr, GetAppDir(), CardUse::Output))
        std::abort();
    int nPhotos = 0;
    for (const auto& pObject : doc.m_vecObjects) {
        if (pObject->m_nType == OBJ_PHOTO && nPhotos < 3)
            CoverWithPhoto(*pObject, CameraPhoto(dir, nPhotos++));
    }
    const QSize szCard = ReadPictureSize(doc.m_strBackground);
    if (nPhotos != 3 || szCard.isEmpty())
        std::abort();
    const QString strOutput = dir.filePath(QStringLiteral("card.jpg"));
    const double dExport = BestOf(3, [&] {
        if (!SaveCardImage(doc, szCard.width(), szCard.height(), strOutput))
            std::abort();
    });
    const QImage card = RenderCardBitmap(doc, szCard.width(), szCard.height()).convertToFormat(QImage::Format_RGB32);
    const double dEncode = BestOf(3, [&] {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setQuality(100);
        if (!writer.write(card))
            std::abort();
    });
    const double dDecode = DecodeFloor(doc, szCard);
    const double dFloor = dDecode / std::max(1, QThread::idealThreadCount()) + dEncode;
    BenchReport("export_shipped_3_photos_ms", dExport * 1000, "ms");
    BenchReport("export_floor_ms", dFloor * 1000, "ms");
    BenchReport("export_vs_floor", dExport / dFloor, "x");
});

// The 3000 x 2000 card of six camera photos (three framed, three masked and turned) and two clip-arts,
// saved as a project and opened as the program opens it, until every working copy is made. Every run
// decodes: the copies the last one made are dropped first.
const BenchRegistrar openRegistrar("open_card_6_photos_ms", [] {
    QTemporaryDir dir;
    CardDocument doc;
    doc.m_szClient = QSize(1500, 1000);
    doc.m_strBackground = dir.filePath(QStringLiteral("bg.jpg"));
    DetailedPicture(3000, 2000, QColor(30, 60, 120), QColor(220, 200, 160)).save(doc.m_strBackground, "JPEG", 92);
    const QString strFrame = ShippedResource("frame/circle_wreath.png");
    const QString strMask = dir.filePath(QStringLiteral("mask.jpg"));
    QImage mask(1000, 750, QImage::Format_RGB32);
    mask.fill(Qt::black);
    QPainter(&mask).fillRect(QRect(80, 80, 840, 590), Qt::white);
    mask.save(strMask, "JPEG", 95);
    for (int i = 0; i < 6; ++i) {
        auto pObject = std::make_unique<TheData>();
        pObject->m_rcObject = {float(60 + (i % 3) * 480), float(80 + (i / 3) * 440), 400, 300};
        CoverWithPhoto(*pObject, CameraPhoto(dir, i));
        if (i < 3) {
            pObject->m_strFrame = strFrame;
            pObject->m_strFrameMask = FrameMaskPath(strFrame);
        } else {
            pObject->m_strMask = strMask;
            pObject->m_dAngle = i * 7.0;
        }
        doc.AddObject(std::move(pObject), 0);
    }
    for (int i = 0; i < 2; ++i) {
        auto pObject = std::make_unique<TheData>();
        pObject->m_nType = OBJ_ELEMENT;
        pObject->m_strElement = ShippedResource(i ? "clipart/holly.png" : "clipart/bell_gold.png");
        pObject->m_rcObject = {float(300 + i * 700), 420, 160, 160};
        doc.AddObject(std::move(pObject), 0);
    }
    const QString strProject = dir.filePath(QStringLiteral("card.plk"));
    if (!SaveProjectFile(doc, strProject, nullptr))
        std::abort();
    const double dOpen = BestOf(3, [&] {
        DropUnusedPictures();
        CardDocument opened;
        opened.m_szClient = QSize(1500, 1000);
        if (!OpenCardFile(strProject, opened, nullptr) || opened.m_vecObjects.size() != 8)
            std::abort();
        for (const auto& pObject : opened.m_vecObjects) {
            if (pObject->m_nType == OBJ_PHOTO && (!pObject->m_pPhoto || pObject->m_pPhoto->isNull()))
                std::abort();
        }
    });
    BenchReport("open_card_6_photos_ms", dOpen * 1000, "ms");
});

// 3,000 sprites of one clip-art, each 40 x 40 on a 1500-wide card, drawn at the card's size.
const BenchRegistrar spritesRegistrar("render_3000_sprites_ms", [] {
    QTemporaryDir dir;
    CardDocument doc;
    doc.m_szClient = QSize(1500, 1000);
    doc.m_strBackground = dir.filePath(QStringLiteral("bg.jpg"));
    DetailedPicture(1500, 1000).save(doc.m_strBackground, "JPEG", 92);
    const QString strSprite = ShippedResource("clipart/bell_gold.png");
    for (int i = 0; i < 3000; ++i) {
        auto pObject = std::make_unique<TheData>();
        pObject->m_nType = OBJ_ELEMENT;
        pObject->m_strElement = strSprite;
        pObject->m_rcObject = {float((i * 37) % 1460), float((i * 53) % 960), 40, 40};
        doc.AddObject(std::move(pObject), 0);
    }
    const double dRender = BestOf(3, [&] {
        if (RenderCardBitmap(doc, 1500, 1000).isNull())
            std::abort();
    });
    BenchReport("render_3000_sprites_ms", dRender * 1000, "ms");
});

} // namespace
