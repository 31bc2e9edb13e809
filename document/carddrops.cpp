#include "document/carddrops.h"

#include <memory>

#include "document/carddocument.h"
#include "document/thedata.h"
#include "document/undohistory.h"
#include "platform/pictureext.h"

namespace {

const TheData* ObjectAt(const CardDocument& doc, int nIndex)
{
    if (nIndex < 0 || nIndex >= int(doc.m_vecObjects.size()))
        return nullptr;
    return doc.m_vecObjects[size_t(nIndex)].get();
}

// The photo object under the point, or -1.
int PhotoObjectAt(const CardDocument& doc, QPoint pt)
{
    const int nHit = doc.HitTest(pt.x(), pt.y());
    const TheData* pHit = ObjectAt(doc, nHit);
    return pHit && pHit->m_nType == OBJ_PHOTO ? nHit : -1;
}

// Places a new object at the point, moved nCascade px right and down, as one undo step.
void AddPlaced(CardDocument& doc, std::unique_ptr<TheData> pObject, QPoint pt, int nSize, int nCascade)
{
    pObject->PlaceNew(nSize, pt.x(), pt.y());
    pObject->m_rcObject.X += float(nCascade);
    pObject->m_rcObject.Y += float(nCascade);
    doc.AddObject(std::move(pObject), 1);
}

std::unique_ptr<TheData> NewPhotoObject()
{
    auto pObject = std::make_unique<TheData>();
    pObject->m_nType = OBJ_PHOTO;
    return pObject;
}

int AddPhotos(CardDocument& doc, const QStringList& vecPhotos, QPoint pt, int nSize)
{
    for (int i = 0; i < vecPhotos.size(); ++i) {
        auto pObject = NewPhotoObject();
        pObject->m_strPhoto = vecPhotos[i];
        AddPlaced(doc, std::move(pObject), pt, nSize, 5 * i);
    }
    return int(vecPhotos.size());
}

int ReplacePhoto(CardDocument& doc, int nTarget, const QString& strPath)
{
    TheData* pTarget = doc.m_vecObjects[size_t(nTarget)].get();
    doc.m_pUndo->BeginEdit(UNDO_PHOTO, pTarget);
    pTarget->SetPhoto(strPath, 0, RectF(), RectF(), 0);
    doc.m_pUndo->EndEdit();
    return 1;
}

} // namespace

QString MakeDragPayload(const QString& strKind, const QStringList& vecPaths)
{
    QString strText = strKind + QLatin1Char('@');
    if (vecPaths.size() == 1)
        return strText + vecPaths.front();
    for (const QString& strPath : vecPaths)
        strText += strPath + QLatin1Char('|');
    return strText;
}

DragData ParseDragPayload(const QString& strText)
{
    DragData drag;
    const qsizetype nAt = strText.indexOf(QLatin1Char('@'));
    const QString strType = nAt < 0 ? strText : strText.left(nAt);
    const QString strPayload = nAt < 0 ? QString() : strText.mid(nAt + 1);
    drag.nDragCount = 1;
    if (strType == QLatin1String("frame"))
        drag.chKind = 'f';
    else if (strType == QLatin1String("elem"))
        drag.chKind = 'e';
    else if (strType == QLatin1String("mask"))
        drag.chKind = 'm';
    else if (strType == QLatin1String("photo"))
        drag.chKind = 'p';
    else
        return drag;

    if (drag.chKind != 'p') {
        drag.strPath = strPayload;
        return drag;
    }
    if (!strPayload.contains(QLatin1Char('|'))) {
        drag.vecPhotos.append(strPayload);
    } else {
        const QStringList vecPieces = strPayload.split(QLatin1Char('|'));
        // The last piece is what follows the last "|": never taken.
        for (qsizetype i = 0; i + 1 < vecPieces.size() && !vecPieces[i].isEmpty(); ++i)
            drag.vecPhotos.append(vecPieces[i]);
    }
    drag.nDragCount = int(drag.vecPhotos.size());
    return drag;
}

int DropTarget(const CardDocument& doc, const DragData& drag, QPoint pt)
{
    if (drag.chKind == 0 || drag.chKind == 'e' || drag.nDragCount != 1)
        return -1;
    return PhotoObjectAt(doc, pt);
}

int DropOnCard(CardDocument& doc, const DragData& drag, QPoint pt, int nSize)
{
    if (drag.chKind == 0)
        return 0;
    if (drag.chKind == 'e') {
        auto pObject = std::make_unique<TheData>();
        pObject->m_nType = OBJ_ELEMENT;
        pObject->m_strElement = drag.strPath;
        AddPlaced(doc, std::move(pObject), pt, nSize, 0);
        return 1;
    }
    const int nTarget = DropTarget(doc, drag, pt);
    if (nTarget < 0) {
        if (drag.chKind == 'p')
            return AddPhotos(doc, drag.vecPhotos, pt, nSize);
        auto pObject = NewPhotoObject();
        if (drag.chKind == 'f') {
            pObject->m_strFrame = drag.strPath;
            pObject->m_strFrameMask = FrameMaskPath(drag.strPath);
        } else {
            pObject->m_strMask = drag.strPath;
        }
        AddPlaced(doc, std::move(pObject), pt, nSize, 0);
        return 1;
    }
    if (drag.chKind == 'p')
        return ReplacePhoto(doc, nTarget, drag.vecPhotos.front());
    TheData* pTarget = doc.m_vecObjects[size_t(nTarget)].get();
    if (drag.chKind == 'f') {
        doc.m_pUndo->BeginEdit(UNDO_FRAME, pTarget);
        pTarget->m_strFrameMask = FrameMaskPath(drag.strPath);
        pTarget->SetFrame(drag.strPath, 0, RectF(), RectF());
    } else {
        doc.m_pUndo->BeginEdit(UNDO_MASK, pTarget);
        pTarget->SetMask(drag.strPath);
    }
    doc.m_pUndo->EndEdit();
    return 1;
}

QStringList AcceptedDroppedFiles(const QStringList& vecPaths)
{
    QStringList vecAccepted;
    for (const QString& strPath : vecPaths) {
        if (IsPictureExtension(strPath))
            vecAccepted.append(strPath);
    }
    return vecAccepted;
}

int AddDroppedFilesToCard(CardDocument& doc, const QStringList& vecFiles, QPoint pt, int nSize)
{
    if (vecFiles.isEmpty())
        return 0;
    const int nTarget = PhotoObjectAt(doc, pt);
    if (nTarget < 0 || vecFiles.size() > 1)
        return AddPhotos(doc, vecFiles, pt, nSize);
    return ReplacePhoto(doc, nTarget, vecFiles.front());
}
