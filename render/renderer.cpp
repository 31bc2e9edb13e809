#include "render/renderer.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <new>
#include <vector>

#include <QPainter>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>

#include "document/carddocument.h"
#include "platform/imageio.h"
#include "platform/pictureops.h"
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
    g_output.rcCard = QRect(x, y, nWidth, nHeight);
    if (nWidth <= 0 || nHeight <= 0)
        return;

    // The background is read with the first objects (a null entry stands for it) and drawn before them.
    std::vector<const TheData*> vecBatch {nullptr};
    const auto drawBatch = [&] {
        const auto pictures = QtConcurrent::blockingMapped<QList<ObjectPictures>>(
            &PicturePool(), vecBatch, [&doc, nWidth, nHeight](const TheData* pObject) {
                // Memory running out on a picture thread is handed back to the pass, which throws it.
                try {
                    if (pObject)
                        return ReadObjectPictures(*pObject);
                    ObjectPictures background;
                    background.imgUnder = ReadPictureForSize(doc.m_strBackground, QSize(nWidth, nHeight));
                    return background;
                } catch (const std::bad_alloc&) {
                    ObjectPictures failed;
                    failed.bOutOfMemory = true;
                    return failed;
                }
            });
        for (const ObjectPictures& read : pictures) {
            if (read.bOutOfMemory)
                throw std::bad_alloc();
        }
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

RectF ScaleAboutCentre(const RectF& rc)
{
    const double w = rc.Width * g_output.dScaleX;
    const double h = rc.Height * g_output.dScaleY;
    const QPointF centre = rc.centre();
    return {float(centre.x() - w / 2), float(centre.y() - h / 2), float(w), float(h)};
}
