#include "render/renderer.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include <QPainter>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>

#include "document/carddocument.h"
#include "platform/imageio.h"
#include "platform/quality.h"

OutputTransform g_output;

namespace {

// Threads of their own for reading pictures: RenderCard may run on a thread of the global pool (an
// export), which must not wait for work queued behind itself on that same pool.
QThreadPool& PicturePool()
{
    static QThreadPool pool;
    return pool;
}

} // namespace

void RenderCard(QPainter& painter, const CardDocument& doc, int x, int y, int nWidth, int nHeight)
{
    // One pass at a time owns the output transform: an export runs off the user-interface thread.
    static std::mutex s_renderTurn;
    const std::lock_guard lock(s_renderTurn);
    const QSize szClient = doc.m_szClient;
    const bool bPlaceable = !szClient.isEmpty();
    g_output.nOffsetX = x;
    g_output.nOffsetY = y;
    // Without a client size there is no card scale: the background is still drawn, objects are not.
    g_output.dScaleX = bPlaceable ? double(nWidth) / szClient.width() : 1.0;
    g_output.dScaleY = bPlaceable ? double(nHeight) / szClient.height() : 1.0;
    if (nWidth <= 0 || nHeight <= 0)
        return;

    // The background is read with the first objects (a null entry stands for it) and drawn before them.
    std::vector<const TheData*> vecBatch {nullptr};
    const auto drawBatch = [&] {
        const auto pictures = QtConcurrent::blockingMapped<QList<ObjectPictures>>(
            &PicturePool(), vecBatch, [&doc, nWidth, nHeight](const TheData* pObject) {
                return pObject ? ReadObjectPictures(*pObject)
                               : ObjectPictures {ReadPictureForSize(doc.m_strBackground, QSize(nWidth, nHeight)), {}};
            });
        for (qsizetype i = 0; i < pictures.size(); ++i) {
            if (const TheData* pObject = vecBatch[size_t(i)])
                DrawObject(painter, *pObject, pictures[i]);
            else if (!pictures[i].imgUnder.isNull())
                painter.drawImage(QRect(x, y, nWidth, nHeight), pictures[i].imgUnder);
        }
        vecBatch.clear();
    };
    // A few objects per core are read ahead at a time: enough to keep the cores busy, few enough that
    // a card of many large objects never holds all their pictures at once.
    const size_t nBatch = size_t(std::max(1, PicturePool().maxThreadCount()) * 2);
    if (bPlaceable) {
        for (const auto& pObject : doc.m_vecObjects) {
            vecBatch.push_back(pObject.get());
            if (vecBatch.size() == nBatch)
                drawBatch();
        }
    }
    drawBatch();
}

void ApplyMask(QImage& bitmap, const QString& strMaskPath, int nWidth, int nHeight)
{
    if (bitmap.isNull() || nWidth <= 0 || nHeight <= 0)
        return;
    const QImage mask = ReadPictureForSize(strMaskPath, QSize(nWidth, nHeight));
    if (mask.isNull())
        return;

    QImage scratch(nWidth, nHeight, QImage::Format_ARGB32);
    scratch.fill(Qt::transparent);
    QPainter painter(&scratch);
    ApplyQuality(painter);
    painter.drawImage(QRectF(0, 0, nWidth, nHeight), mask);
    painter.end();

    // The alpha is replaced on straight (non-premultiplied) pixels so that colours are kept; formats
    // that can hold the new alpha get their own format back, the others stay 32-bit ARGB.
    const QImage::Format original = bitmap.format();
    const bool bRestoreFormat = bitmap.hasAlphaChannel() && bitmap.depth() > 8;
    bitmap.convertTo(QImage::Format_ARGB32);
    const int nRows = std::min(nHeight, bitmap.height());
    const int nColumns = std::min(nWidth, bitmap.width());
    for (int y = 0; y < nRows; ++y) {
        auto* pTarget = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
        const auto* pMask = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        for (int x = 0; x < nColumns; ++x) {
            if (qAlpha(pTarget[x]) != 0)
                pTarget[x] = (pTarget[x] & 0x00FFFFFF) | (QRgb(qBlue(pMask[x])) << 24);
        }
    }
    if (bRestoreFormat)
        bitmap.convertTo(original);
}

QImage ReadPictureForSize(const QString& strPath, QSize szDrawn)
{
    if (strPath.isEmpty() || szDrawn.isEmpty())
        return QImage();
    return ReadPictureFor(strPath, [szDrawn](QSize szFile) { return szDrawn.boundedTo(szFile); });
}

RectF ScaleAboutCentre(const RectF& rc)
{
    const double w = rc.Width * g_output.dScaleX;
    const double h = rc.Height * g_output.dScaleY;
    const QPointF centre = rc.centre();
    return {float(centre.x() - w / 2), float(centre.y() - h / 2), float(w), float(h)};
}
