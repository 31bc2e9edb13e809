#include <algorithm>
#include <cstdlib>
#include <memory>

#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>

#include "bench/bench.h"
#include "bench/benchpictures.h"
#include "canvas/canvas.h"
#include "document/carddocument.h"
#include "document/thedata.h"
#include "platform/imageio.h"
#include "render/cardimage.h"

namespace {

// A frame: an opaque border around a transparent window, and its mask (white where the photo shows).
void WriteFrame(const QTemporaryDir& dir, const QString& strName, int nWidth, int nHeight)
{
    const int nBorder = nWidth / 10;
    QImage frame(nWidth, nHeight, QImage::Format_ARGB32);
    frame.fill(QColor(200, 160, 40));
    QPainter painter(&frame);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::transparent);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRect(nBorder, nBorder, nWidth - 2 * nBorder, nHeight - 2 * nBorder));
    painter.end();
    frame.save(dir.filePath(strName + QStringLiteral(".png")));

    QImage mask(nWidth, nHeight, QImage::Format_RGB32);
    mask.fill(Qt::black);
    QPainter maskPainter(&mask);
    maskPainter.setRenderHint(QPainter::Antialiasing);
    maskPainter.setBrush(Qt::white);
    maskPainter.setPen(Qt::NoPen);
    maskPainter.drawEllipse(QRect(nBorder, nBorder, nWidth - 2 * nBorder, nHeight - 2 * nBorder));
    maskPainter.end();
    mask.save(dir.filePath(strName + QStringLiteral(".jpg")), "JPEG", 95);
}

QString WriteClipArt(const QTemporaryDir& dir, const QString& strName, int nSide, QColor colour)
{
    QImage image(nSide, nSide, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(QPen(Qt::white, nSide / 40));
    painter.drawEllipse(QRect(nSide / 10, nSide / 10, nSide * 8 / 10, nSide * 8 / 10));
    painter.end();
    const QString strPath = dir.filePath(strName);
    image.save(strPath);
    return strPath;
}

QString WriteJpeg(const QTemporaryDir& dir, const QString& strName, const QImage& image)
{
    const QString strPath = dir.filePath(strName);
    image.save(strPath, "JPEG", 92);
    return strPath;
}

std::unique_ptr<TheData> Element(const QString& strPath, const RectF& rc, double dAngle)
{
    auto pObject = std::make_unique<TheData>();
    pObject->m_nType = OBJ_ELEMENT;
    pObject->m_strElement = strPath;
    pObject->m_rcObject = rc;
    pObject->m_dAngle = dAngle;
    return pObject;
}

std::unique_ptr<TheData> FramedPhoto(const QString& strPhoto, const QString& strFrame, const RectF& rc, double dAngle)
{
    auto pObject = std::make_unique<TheData>();
    pObject->m_nType = OBJ_PHOTO;
    pObject->m_strPhoto = strPhoto;
    pObject->m_strFrame = strFrame + QStringLiteral(".png");
    pObject->m_strFrameMask = strFrame + QStringLiteral(".jpg");
    pObject->m_rcObject = rc;
    pObject->m_rcPhoto = {rc.X - 10, rc.Y - 10, rc.Width + 20, rc.Height + 20};
    pObject->m_rcPhotoLocal = pObject->m_rcPhoto;
    pObject->m_dAngle = dAngle;
    return pObject;
}

std::unique_ptr<TheData> MaskedPhoto(const QString& strPhoto, const QString& strMask, const RectF& rc, double dAngle)
{
    auto pObject = std::make_unique<TheData>();
    pObject->m_nType = OBJ_PHOTO;
    pObject->m_strPhoto = strPhoto;
    pObject->m_strMask = strMask;
    pObject->m_rcObject = rc;
    pObject->m_dAngle = dAngle;
    return pObject;
}

// One frame of a drag: the selected object moves a few pixels and the canvas is painted again.
void PaintFrames(Canvas& canvas, QImage& buffer, int nFrames)
{
    TheData* pDragged = canvas.m_doc.SelectedObject();
    for (int i = 0; i < nFrames; ++i) {
        pDragged->MoveBy(i % 2 ? -3 : 3, i % 2 ? -2 : 2, 1);
        buffer.fill(Qt::white);
        QPainter painter(&buffer);
        canvas.PaintCanvas(painter);
    }
}

// Painting the canvas during a drag on a card of 40 objects, with the layer images against without.
const BenchRegistrar dragRegistrar("drag_paint_vs_full", [] {
    QTemporaryDir dir;
    const QString strBackground = WriteJpeg(
        dir, QStringLiteral("bg.jpg"), DetailedPicture(1600, 1000, QColor(30, 60, 120), QColor(220, 200, 160)));
    const QString strPhoto = WriteJpeg(
        dir, QStringLiteral("photo.jpg"), DetailedPicture(1600, 1200, QColor(20, 120, 40), QColor(240, 80, 40)));
    WriteFrame(dir, QStringLiteral("frame"), 800, 600);
    const QString strFrame = dir.filePath(QStringLiteral("frame"));
    const QString strStar = WriteClipArt(dir, QStringLiteral("star.png"), 500, QColor(220, 40, 90));
    const QString strBell = WriteClipArt(dir, QStringLiteral("bell.png"), 400, QColor(240, 200, 20));

    Canvas canvas;
    canvas.resize(1000, 625);
    for (int i = 0; i < 40; ++i) {
        const float x = float((i * 137) % 850);
        const float y = float((i * 89) % 480);
        const float w = float(90 + (i * 53) % 160);
        const double dAngle = (i * 29) % 360;
        if (i % 4 == 0)
            canvas.AddObject(FramedPhoto(strPhoto, strFrame, {x, y, w, w * 0.75f}, dAngle), 0);
        else
            canvas.AddObject(Element(i % 2 ? strStar : strBell, {x, y, w, w}, dAngle), 0);
    }
    canvas.FitProject(strBackground, 1000);
    canvas.Select(20);

    constexpr int kFrames = 20;
    QImage buffer(canvas.size(), QImage::Format_ARGB32_Premultiplied);
    const double dLayers = BestOf(3, [&] { PaintFrames(canvas, buffer, kFrames); });
    canvas.m_bLayersValid = 0;
    const double dFull = BestOf(3, [&] { PaintFrames(canvas, buffer, kFrames); });

    BenchReport("drag_paint_frame_layers", dLayers / kFrames * 1000, "ms");
    BenchReport("drag_paint_frame_full", dFull / kFrames * 1000, "ms");
    BenchReport("drag_paint_vs_full", dLayers / dFull, "x");
});

// Exporting a 3000 x 2000 JPEG of a card with six camera photos, against decoding its files once.
const BenchRegistrar exportRegistrar("export_vs_decode", [] {
    QTemporaryDir dir;
    QStringList vecSources;
    const QString strBackground = WriteJpeg(
        dir, QStringLiteral("bg.jpg"), DetailedPicture(3000, 2000, QColor(30, 60, 120), QColor(220, 200, 160)));
    vecSources << strBackground;

    CardDocument doc;
    doc.m_szClient = QSize(900, 600);
    doc.m_strBackground = strBackground;
    const QColor colours[] = {QColor(20, 120, 40), QColor(200, 60, 40), QColor(40, 80, 200), QColor(220, 180, 30),
        QColor(120, 40, 160), QColor(30, 160, 170)};
    for (int i = 0; i < 6; ++i) {
        const QString strPhoto = WriteJpeg(
            dir, QStringLiteral("photo%1.jpg").arg(i), DetailedPicture(4000, 3000, colours[i], colours[(i + 3) % 6]));
        vecSources << strPhoto;
        const RectF rc = {float(40 + (i % 3) * 290), float(40 + (i / 3) * 280), 240, 180};
        if (i < 3) {
            const QString strFrame = QStringLiteral("frame%1").arg(i);
            WriteFrame(dir, strFrame, 1600, 1200);
            vecSources << dir.filePath(strFrame + QStringLiteral(".png"))
                       << dir.filePath(strFrame + QStringLiteral(".jpg"));
            doc.AddObject(FramedPhoto(strPhoto, dir.filePath(strFrame), rc, i * 7.0), 0);
        } else {
            QImage mask(1200, 900, QImage::Format_RGB32);
            mask.fill(Qt::black);
            QPainter painter(&mask);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setBrush(Qt::white);
            painter.drawRoundedRect(QRect(60, 60, 1080, 780), 200, 200);
            painter.end();
            const QString strMask = dir.filePath(QStringLiteral("mask%1.jpg").arg(i));
            mask.save(strMask, "JPEG", 95);
            vecSources << strMask;
            doc.AddObject(MaskedPhoto(strPhoto, strMask, rc, -i * 5.0), 0);
        }
    }
    for (int i = 0; i < 3; ++i) {
        const QString strClipArt = WriteClipArt(dir, QStringLiteral("clipart%1.png").arg(i), 800, colours[i * 2]);
        vecSources << strClipArt;
        doc.AddObject(Element(strClipArt, {float(100 + i * 280), 480, 90, 90}, i * 15.0), 0);
    }

    const QString strOutput = dir.filePath(QStringLiteral("card.jpg"));
    const double dExport = BestOf(3, [&] {
        if (!SaveCardImage(doc, 3000, 2000, strOutput))
            std::abort();
    });
    const double dExportPng = BestOf(3, [&] {
        if (!SaveCardImage(doc, 3000, 2000, dir.filePath(QStringLiteral("card.png"))))
            std::abort();
    });
    const double dDecode = BestOf(3, [&] {
        for (const QString& strPath : vecSources) {
            if (ReadPicture(strPath).isNull())
                std::abort();
        }
    });

    // The six photos alone, the bulk of the sources.
    const double dPhotos = BestOf(3, [&] {
        for (int i = 0; i < 6; ++i) {
            if (ReadPicture(dir.filePath(QStringLiteral("photo%1.jpg").arg(i))).isNull())
                std::abort();
        }
    });

    BenchReport("export_3000x2000_jpeg", dExport * 1000, "ms");
    BenchReport("decode_sources_full_size", dDecode * 1000, "ms");
    BenchReport("export_vs_decode", dExport / dDecode, "x");
    BenchReport("export_vs_decode_photos", dExport / dPhotos, "x");
    BenchReport("export_png_vs_jpeg", dExportPng / dExport, "x");
});

} // namespace
