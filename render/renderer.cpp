#include "render/renderer.h"

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <new>
#include <vector>

#include <QPaintDevice>
#include <QPainter>
#include <QThreadPool>

#include "document/carddocument.h"
#include "platform/imageio.h"
#include "platform/pictureops.h"
#include "platform/quality.h"

OutputTransform g_output;

namespace {

// One entry of a pass: the background (no object), or an object's pictures, or its layer.
struct Prepared {
    const TheData* pObject = nullptr;
    ObjectPictures pictures;
    QImage layer;
    QRect rcLayer;
    bool bOutOfMemory = false;
};

// A batch is laid on the card once it holds this many objects or its layers this many pixels: enough
// to keep every core busy, few enough that a card of many large objects never holds them all at once.
constexpr size_t kBatchObjects = 64;
constexpr qint64 kBatchPixels = qint64(24) << 20;

// Reads what the entry draws and, for a layer, draws it there as it lands on the card.
void Prepare(Prepared& entry, const CardDocument& doc, QSize szCard, bool bLayers, PassPictures& pass)
{
    try {
        if (!entry.pObject) {
            entry.pictures.imgUnder = ReadPictureForSize(doc.m_strBackground, szCard);
            return;
        }
        entry.pictures = ReadObjectPictures(*entry.pObject, &pass);
        if (!bLayers || entry.rcLayer.isEmpty() || entry.pObject->m_nType == OBJ_TEXT)
            return;
        if (entry.pictures.imgUnder.isNull() && entry.pictures.imgOver.isNull())
            return;
        entry.layer = NewBitmap(entry.rcLayer.size(), Qt::transparent);
        QPainter painter(&entry.layer);
        ApplyQuality(painter);
        DrawObject(painter, *entry.pObject, entry.pictures, entry.rcLayer.topLeft());
        painter.end();
        entry.pictures = ObjectPictures();
    } catch (const std::bad_alloc&) {
        // Memory running out on a picture thread is handed back to the pass, which throws it.
        entry.pictures = ObjectPictures();
        entry.layer = QImage();
        entry.bOutOfMemory = true;
    }
}

// Prepares the entries on the picture threads and draws each on this thread, in order, as soon as
// it and every entry before it are ready, so the card is laid while later layers are still being
// prepared. This thread prepares entries too while the next one to draw is not ready, so the pass
// finishes even when no picture thread is free.
template <typename PrepareFn, typename DrawFn>
void PreparePipelined(std::vector<Prepared>& vecEntries, const PrepareFn& prepare, const DrawFn& draw)
{
    const size_t nEntries = vecEntries.size();
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<char> vecDone(nEntries, 0);
    size_t nNext = 0; // the first entry nobody has taken yet
    int nHelpers = 0; // picture threads still running
    bool bStop = false;

    // Takes the next entry, prepares it and marks it done; false once none is left.
    const auto prepareNext = [&](std::unique_lock<std::mutex>& lock) {
        if (bStop || nNext >= nEntries)
            return false;
        const size_t i = nNext++;
        lock.unlock();
        prepare(vecEntries[i]);
        lock.lock();
        vecDone[i] = 1;
        changed.notify_all();
        return true;
    };
    QThreadPool& pool = PictureThreads();
    const int nStart = int(std::min<size_t>(size_t(std::max(1, pool.maxThreadCount())), nEntries - 1));
    // Only threads free now help: waiting for a busy pool could wait on a pass queued behind this one.
    for (int n = 0; n < nStart; ++n) {
        {
            const std::lock_guard lock(mutex);
            ++nHelpers;
        }
        const bool bStarted = pool.tryStart([&] {
            std::unique_lock lock(mutex);
            while (prepareNext(lock)) { }
            --nHelpers;
            changed.notify_all();
        });
        if (!bStarted) {
            const std::lock_guard lock(mutex);
            --nHelpers;
            break;
        }
    }
    // Whatever happens while drawing, the helpers work on these entries and must be done first.
    const auto waitForHelpers = [&] {
        std::unique_lock lock(mutex);
        bStop = true;
        changed.wait(lock, [&] { return nHelpers == 0; });
    };
    try {
        for (size_t i = 0; i < nEntries; ++i) {
            {
                std::unique_lock lock(mutex);
                while (!vecDone[i]) {
                    if (!prepareNext(lock))
                        changed.wait(lock, [&] { return vecDone[i] != 0; });
                }
            }
            draw(vecEntries[i]);
        }
    } catch (...) {
        waitForHelpers();
        throw;
    }
    waitForHelpers();
}

} // namespace

void PassPictures::Expect(const QString& strPath, QSize szDrawn)
{
    const std::lock_guard lock(m_mutex);
    auto& pEntry = m_entries[{strPath, {szDrawn.width(), szDrawn.height()}}];
    if (!pEntry)
        pEntry = std::make_shared<Entry>();
    ++pEntry->nLeft;
}

QImage PassPictures::Read(const QString& strPath, QSize szDrawn)
{
    std::shared_ptr<Entry> pEntry;
    {
        const std::lock_guard lock(m_mutex);
        const auto it = m_entries.find({strPath, {szDrawn.width(), szDrawn.height()}});
        if (it != m_entries.end()) {
            pEntry = it->second;
            // The last reader takes the picture with it.
            if (--pEntry->nLeft <= 0)
                m_entries.erase(it);
        }
    }
    if (!pEntry)
        return ReadPictureForSize(strPath, szDrawn);
    std::call_once(pEntry->read, [&] { pEntry->image = ReadPictureForSize(strPath, szDrawn); });
    return pEntry->image;
}

std::unique_lock<std::mutex> TakeOutputTurn()
{
    // One pass at a time owns the output transform: an export runs off the user-interface thread.
    static std::mutex s_renderTurn;
    return std::unique_lock(s_renderTurn);
}

void RenderCard(QPainter& painter, const CardDocument& doc, int x, int y, int nWidth, int nHeight, int nThreads)
{
    const std::unique_lock turn = TakeOutputTurn();
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

    // Layers are exact on a bitmap; a printer or a PDF keeps each picture at its own resolution.
    const bool bLayers = painter.device() && painter.device()->devType() == QInternal::Image;
    PassPictures pass;
    if (bPlaceable) {
        for (const auto& pObject : doc.m_vecObjects) {
            if (const auto read = SharedRead(*pObject))
                pass.Expect(read->first, read->second);
        }
    }

    // The background is read with the first objects (an entry without an object stands for it) and
    // drawn before them.
    std::vector<Prepared> vecBatch(1);
    qint64 nBatchPixels = 0;
    const auto drawBatch = [&] {
        const auto prepare = [&](Prepared& entry) { Prepare(entry, doc, QSize(nWidth, nHeight), bLayers, pass); };
        const auto draw = [&](Prepared& entry) {
            if (entry.bOutOfMemory)
                throw std::bad_alloc();
            if (!entry.pObject) {
                if (!entry.pictures.imgUnder.isNull())
                    painter.drawImage(QRect(x, y, nWidth, nHeight), entry.pictures.imgUnder);
            } else if (!entry.layer.isNull()) {
                painter.drawImage(entry.rcLayer.topLeft(), entry.layer);
            } else if (!bLayers || entry.pObject->m_nType == OBJ_TEXT) {
                DrawObject(painter, *entry.pObject, entry.pictures);
            }
            // A drawn layer is not needed again; later layers may still be on their way.
            entry = Prepared();
        };
        if (nThreads == 1 || vecBatch.size() == 1) {
            std::for_each(vecBatch.begin(), vecBatch.end(), prepare);
            std::for_each(vecBatch.begin(), vecBatch.end(), draw);
        } else {
            PreparePipelined(vecBatch, prepare, draw);
        }
        vecBatch.clear();
        nBatchPixels = 0;
    };
    if (bPlaceable) {
        for (const auto& pObject : doc.m_vecObjects) {
            if (pObject->m_bDeleted)
                continue;
            Prepared entry;
            entry.pObject = pObject.get();
            entry.rcLayer = ObjectBounds(*pObject);
            if (bLayers && entry.rcLayer.isEmpty() && pObject->m_nType != OBJ_TEXT)
                continue;
            nBatchPixels += qint64(entry.rcLayer.width()) * entry.rcLayer.height();
            vecBatch.push_back(std::move(entry));
            if (vecBatch.size() >= kBatchObjects || nBatchPixels >= kBatchPixels)
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
