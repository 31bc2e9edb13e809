#include "merge/cardmerge.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <new>
#include <thread>

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QtConcurrent/QtConcurrentMap>

#include "document/carddocument.h"
#include "merge/csvreader.h"
#include "merge/mergefields.h"
#include "platform/imageio.h"
#include "platform/pictureops.h"
#include "platform/quality.h"
#include "render/cardimage.h"
#include "render/renderer.h"

namespace {

std::unique_ptr<TheData> CopyObject(const TheData& obj)
{
    auto pCopy = std::make_unique<TheData>();
    pCopy->m_nType = obj.m_nType;
    pCopy->m_strPhoto = obj.m_strPhoto;
    pCopy->m_strMask = obj.m_strMask;
    pCopy->m_strFrameMask = obj.m_strFrameMask;
    pCopy->m_strFrame = obj.m_strFrame;
    pCopy->m_dAspect = obj.m_dAspect;
    pCopy->m_dPhotoAspect = obj.m_dPhotoAspect;
    pCopy->m_rcCrop = obj.m_rcCrop;
    pCopy->m_rcPhoto = obj.m_rcPhoto;
    pCopy->m_rcCropLocal = obj.m_rcCropLocal;
    pCopy->m_rcPhotoLocal = obj.m_rcPhotoLocal;
    pCopy->m_dPhotoAngle = obj.m_dPhotoAngle;
    pCopy->m_strElement = obj.m_strElement;
    if (obj.m_pText)
        pCopy->m_pText = std::make_unique<CTextPanel>(*obj.m_pText);
    pCopy->m_bDeleted = obj.m_bDeleted;
    pCopy->m_rcObject = obj.m_rcObject;
    pCopy->m_dAngle = obj.m_dAngle;
    pCopy->m_dAngleDelta = obj.m_dAngleDelta;
    return pCopy;
}

void SetOutputTransform(QSize szClient, int nWidth, int nHeight)
{
    const bool bPlaceable = !szClient.isEmpty();
    g_output.nOffsetX = 0;
    g_output.nOffsetY = 0;
    g_output.dScaleX = bPlaceable ? double(nWidth) / szClient.width() : 1.0;
    g_output.dScaleY = bPlaceable ? double(nHeight) / szClient.height() : 1.0;
    g_output.rcCard = QRect(0, 0, nWidth, nHeight);
}

// Whether the card and the pattern use only fields the header names; the message names those it lacks.
bool FieldsInHeader(const CardDocument& doc, const MergeJob& job, const QStringList& header, QString* pstrError)
{
    QStringList missing;
    for (const QString& strField : CardFields(doc) + FieldsIn(job.strPattern)) {
        const QString strBraced = QLatin1Char('{') + strField + QLatin1Char('}');
        if (!header.contains(strField) && !missing.contains(strBraced))
            missing.append(strBraced);
    }
    if (missing.isEmpty())
        return true;
    *pstrError = QStringLiteral("%1: the list has no column for %2 (its columns: %3)")
                     .arg(job.strList, missing.join(QLatin1String(", ")), header.join(QLatin1String(", ")));
    return false;
}

} // namespace

std::unique_ptr<CardDocument> CopyCardForOutput(const CardDocument& doc)
{
    auto pCopy = std::make_unique<CardDocument>();
    pCopy->m_strBackground = doc.m_strBackground;
    // Without a canvas size no display image is made while the objects are added.
    for (const auto& pObject : doc.m_vecObjects)
        pCopy->AddObject(CopyObject(*pObject), 0);
    pCopy->m_szClient = doc.m_szClient;
    return pCopy;
}

QStringList CardFields(const CardDocument& doc)
{
    QStringList fields;
    for (const auto& pObject : doc.m_vecObjects) {
        if (pObject->m_bDeleted || pObject->m_nType != OBJ_TEXT || !pObject->m_pText)
            continue;
        for (const QString& strField : FieldsIn(pObject->m_pText->m_strText)) {
            if (!fields.contains(strField))
                fields.append(strField);
        }
    }
    return fields;
}

MergedCard::MergedCard(const CardDocument& doc, const QStringList& header)
    : m_pDoc(CopyCardForOutput(doc))
    , m_header(header)
{
    for (const auto& pObject : m_pDoc->m_vecObjects) {
        if (pObject->m_nType == OBJ_TEXT && pObject->m_pText && !FieldsIn(pObject->m_pText->m_strText).isEmpty())
            m_texts.emplace_back(pObject.get(), Typed {pObject->m_pText->m_strText, pObject->m_rcObject});
    }
}

MergedCard::~MergedCard() = default;

void MergedCard::SetRow(const QStringList& values)
{
    for (auto& [pText, typed] : m_texts) {
        pText->m_pText->m_strText = MergeText(typed.strText, m_header, values);
        pText->m_rcObject = typed.rcObject;
        pText->RefitText();
        // A centred or right-aligned text keeps its centre or its right edge where the card has it.
        const int nAlign = pText->m_pText->m_nAlign;
        if (nAlign == 1 || nAlign == 2)
            pText->m_rcObject.X += (typed.rcObject.Width - pText->m_rcObject.Width) / (nAlign == 1 ? 2 : 1);
    }
}

bool PreparedCard::Prepare(const CardDocument& doc, int nWidth, int nHeight)
{
    // The same reads and layers as RenderCard's pass on a bitmap, kept instead of laid at once.
    struct Entry {
        int nObject = 0;
        QRect rcLayer;
        QImage layer;
        bool bOutOfMemory = false;
    };
    const std::unique_lock turn = TakeOutputTurn();
    m_szClient = doc.m_szClient;
    m_steps.clear();
    m_base = QImage();
    SetOutputTransform(doc.m_szClient, nWidth, nHeight);
    const bool bPlaceable = !doc.m_szClient.isEmpty();
    std::vector<Entry> vecEntries;
    PassPictures pass;
    if (bPlaceable) {
        for (size_t i = 0; i < doc.m_vecObjects.size(); ++i) {
            const TheData& obj = *doc.m_vecObjects[i];
            if (const auto read = SharedRead(obj))
                pass.Expect(read->first, read->second);
            if (obj.m_bDeleted)
                continue;
            const QRect rcLayer = ObjectBounds(obj);
            if (rcLayer.isEmpty() && obj.m_nType != OBJ_TEXT)
                continue;
            vecEntries.push_back({int(i), rcLayer, QImage(), false});
        }
    }
    QtConcurrent::blockingMap(&PictureThreads(), vecEntries, [&](Entry& entry) {
        const TheData& obj = *doc.m_vecObjects[size_t(entry.nObject)];
        if (obj.m_nType == OBJ_TEXT)
            return;
        try {
            const ObjectPictures pictures = ReadObjectPictures(obj, &pass);
            if (pictures.imgUnder.isNull() && pictures.imgOver.isNull())
                return;
            entry.layer = NewBitmap(entry.rcLayer.size(), Qt::transparent);
            if (entry.layer.isNull())
                return;
            QPainter painter(&entry.layer);
            ApplyQuality(painter);
            DrawObject(painter, obj, pictures, entry.rcLayer.topLeft());
        } catch (const std::bad_alloc&) {
            entry.bOutOfMemory = true;
        }
    });
    try {
        m_base = ZeroedBitmap(QSize(nWidth, nHeight), QImage::Format_ARGB32_Premultiplied);
        if (m_base.isNull())
            return false;
        QPainter painter(&m_base);
        ApplyQuality(painter);
        const QImage background = ReadPictureForSize(doc.m_strBackground, QSize(nWidth, nHeight));
        if (!background.isNull())
            painter.drawImage(QRect(0, 0, nWidth, nHeight), background);
        bool bUnderTexts = true;
        for (Entry& entry : vecEntries) {
            if (entry.bOutOfMemory)
                throw std::bad_alloc();
            const bool bText = doc.m_vecObjects[size_t(entry.nObject)]->m_nType == OBJ_TEXT;
            bUnderTexts = bUnderTexts && !bText;
            if (bUnderTexts) {
                if (!entry.layer.isNull())
                    painter.drawImage(entry.rcLayer.topLeft(), entry.layer);
            } else if (bText || !entry.layer.isNull()) {
                m_steps.push_back({bText ? entry.nObject : -1, std::move(entry.layer), entry.rcLayer.topLeft()});
            }
            entry.layer = QImage();
        }
    } catch (const std::bad_alloc&) {
        m_base = QImage();
        m_steps.clear();
        return false;
    }
    return true;
}

QImage PreparedCard::Render(const CardDocument& doc) const
{
    if (m_base.isNull())
        return QImage();
    QImage card = m_base.copy();
    if (card.isNull() || m_steps.empty())
        return card;
    QPainter painter(&card);
    ApplyQuality(painter);
    const std::unique_lock turn = TakeOutputTurn();
    SetOutputTransform(m_szClient, card.width(), card.height());
    for (const Step& step : m_steps) {
        if (step.nText >= 0)
            DrawObject(painter, *doc.m_vecObjects[size_t(step.nText)], ObjectPictures());
        else
            painter.drawImage(step.ptLayer, step.layer);
    }
    return card;
}

bool CheckMerge(
    const CardDocument& doc, const MergeJob& job, MergeCheck* pCheck, QString* pstrError, MergeProblem* pnProblem)
{
    const auto fail = [&](MergeProblem nProblem, const QString& strError) {
        *pstrError = strError;
        if (pnProblem)
            *pnProblem = nProblem;
        return false;
    };
    *pCheck = MergeCheck();
    const bool bNames = !job.strPattern.isEmpty();
    if (bNames && ExportFormatOf(job.strPattern).isEmpty())
        return fail(MergeProblem::Fields,
            QStringLiteral("%1: the file names must end in .jpg, .jpeg, .bmp, .png, .gif, .tif or .tiff")
                .arg(job.strPattern));
    CsvReader reader;
    if (!reader.Open(job.strList))
        return fail(MergeProblem::List,
            reader.Error().startsWith(job.strList) ? reader.Error()
                                                   : QStringLiteral("%1: %2").arg(job.strList, reader.Error()));
    if (!FieldsInHeader(doc, job, reader.Header(), pstrError))
        return fail(MergeProblem::Fields, *pstrError);
    MergeFileNames names(job.strPattern, reader.Header());
    const QDir folder(job.strFolder);
    QStringList values;
    while (reader.Next(&values)) {
        const qint64 nRow = ++pCheck->nRows;
        // Every row takes its name, so that a name given twice is counted the same in any range.
        const QString strName = bNames ? names.Next(values, nRow) : QString();
        if (nRow < job.nFirst || nRow > job.nLast)
            continue;
        ++pCheck->nSelected;
        if (!bNames)
            continue;
        const QString strPath = folder.filePath(strName);
        if (QFileInfo::exists(strPath) && !pCheck->nExisting++)
            pCheck->strFirstExisting = strPath;
    }
    if (!reader.Error().isEmpty())
        return fail(MergeProblem::List, QStringLiteral("%1: %2").arg(job.strList, reader.Error()));
    if (pCheck->nRows == 0)
        return fail(MergeProblem::Empty, QStringLiteral("%1: the list has no rows: nothing to merge").arg(job.strList));
    if (pnProblem)
        *pnProblem = MergeProblem::None;
    return true;
}

bool RunMerge(
    const CardDocument& doc, const MergeJob& job, const MergeProgress& progress, qint64* pnWritten, QString* pstrError)
{
    *pnWritten = 0;
    CsvReader reader;
    if (!reader.Open(job.strList)) {
        *pstrError = reader.Error();
        return false;
    }
    if (job.strPattern.isEmpty()) {
        *pstrError = QStringLiteral("No file names: give a pattern such as {Name}.jpg.");
        return false;
    }
    // The rows to write, counted first so that progress can say how many there are.
    MergeCheck check;
    if (!CheckMerge(doc, job, &check, pstrError))
        return false;
    if (!QDir().mkpath(job.strFolder)) {
        *pstrError = QStringLiteral("%1: the folder cannot be made").arg(job.strFolder);
        return false;
    }
    PreparedCard prepared;
    if (!prepared.Prepare(doc, job.nWidth, job.nHeight)) {
        *pstrError = QStringLiteral("Not enough memory to merge %1 x %2 cards.").arg(job.nWidth).arg(job.nHeight);
        return false;
    }

    struct Card {
        QStringList values;
        QString strPath;
    };
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Card> queue;
    bool bReadAll = false;
    bool bStop = false;
    qint64 nDone = 0;
    QString strError;
    const size_t nJobs = size_t(std::clamp(job.nJobs, 1, 64));

    // Draws and writes the cards of the queue; false once the merge stops.
    const auto work = [&](MergedCard& card, std::unique_lock<std::mutex>& lock) {
        changed.wait(lock, [&] { return bStop || !queue.empty() || bReadAll; });
        if (bStop || queue.empty())
            return false;
        Card next = std::move(queue.front());
        queue.pop_front();
        changed.notify_all();
        lock.unlock();
        card.SetRow(next.values);
        QString strWriteError;
        QImage image = prepared.Render(card.Document());
        const bool bWritten = !image.isNull() && WriteCardImage(std::move(image), next.strPath, &strWriteError);
        lock.lock();
        if (!bWritten) {
            if (!bStop)
                strError = strWriteError.isEmpty()
                    ? QStringLiteral("Not enough memory to merge %1 x %2 cards.").arg(job.nWidth).arg(job.nHeight)
                    : strWriteError;
            bStop = true;
        } else {
            ++nDone;
            if (progress && !progress(nDone, check.nSelected, next.strPath))
                bStop = true;
        }
        changed.notify_all();
        return !bStop;
    };

    std::vector<std::thread> workers;
    std::vector<std::unique_ptr<MergedCard>> cards;
    for (size_t i = 0; i < nJobs; ++i)
        cards.push_back(std::make_unique<MergedCard>(doc, reader.Header()));
    for (size_t i = 1; i < nJobs; ++i) {
        workers.emplace_back([&, i] {
            std::unique_lock lock(mutex);
            while (work(*cards[i], lock)) { }
        });
    }

    MergeFileNames names(job.strPattern, reader.Header());
    const QDir folder(job.strFolder);
    QStringList values;
    qint64 nRow = 0;
    bool bEnd = false;
    while (!bEnd) {
        if (!reader.Next(&values)) {
            bEnd = true;
            if (!reader.Error().isEmpty()) {
                const std::lock_guard lock(mutex);
                if (!bStop)
                    strError = QStringLiteral("%1: %2").arg(job.strList, reader.Error());
                bStop = true;
            }
        } else {
            ++nRow;
            const QString strPath = folder.filePath(names.Next(values, nRow));
            if (nRow < job.nFirst || nRow > job.nLast)
                continue;
            if (!job.bReplace && QFileInfo::exists(strPath)) {
                const std::lock_guard lock(mutex);
                strError = QStringLiteral("%1: the file is already there").arg(strPath);
                bStop = true;
            }
            std::unique_lock lock(mutex);
            if (bStop)
                break;
            queue.push_back({values, strPath});
            changed.notify_all();
            // The reader keeps a few cards ahead of the workers; this thread works too when they lag.
            while (queue.size() >= 2 * nJobs && !bStop) {
                if (!work(*cards[0], lock))
                    break;
            }
            bEnd = bStop || nRow >= job.nLast;
        }
    }
    {
        std::unique_lock lock(mutex);
        bReadAll = true;
        changed.notify_all();
        while (work(*cards[0], lock)) { }
    }
    for (std::thread& worker : workers)
        worker.join();
    *pnWritten = nDone;
    if (!strError.isEmpty()) {
        *pstrError = strError;
        return false;
    }
    return true;
}
