#include "document/carddocument.h"

#include <algorithm>

#include "document/sharedpictures.h"
#include "document/undohistory.h"

CardDocument::CardDocument(QObject* pOwner, QObject* pMainWindow)
    : m_pUndo(std::make_unique<CUndoHistory>(pOwner, pMainWindow, this))
{
}

CardDocument::~CardDocument()
{
    // Records point at objects: the history goes first.
    m_pUndo->Clear();
    m_vecObjects.clear();
    DropUnusedPictures();
}

int CardDocument::HitTest(int x, int y) const
{
    const QPointF pt(x, y);
    for (auto it = m_vecObjects.rbegin(); it != m_vecObjects.rend(); ++it) {
        const TheData& obj = **it;
        if (!obj.m_bDeleted && obj.ObjectOutline().containsPoint(pt, Qt::OddEvenFill))
            return obj.m_nIndex;
    }
    return -1;
}

bool CardDocument::HitPhoto(int x, int y) const
{
    const TheData* pObject = SelectedObject();
    return pObject && pObject->PhotoOutline().containsPoint(QPointF(x, y), Qt::OddEvenFill);
}

TheData* CardDocument::AddObject(std::unique_ptr<TheData> pObject, int bRecord)
{
    TheData* pAdded = pObject.get();
    pAdded->m_nIndex = int(m_vecObjects.size());
    pAdded->SetCanvasSize(m_szClient, m_dDisplayRatio);
    m_vecObjects.push_back(std::move(pObject));
    if (bRecord) {
        m_pUndo->BeginEdit(UNDO_ADD, pAdded);
        m_pUndo->EndEdit();
    }
    return pAdded;
}

void CardDocument::MoveInStack(int nFrom, int nTo)
{
    const int nCount = int(m_vecObjects.size());
    if (nFrom < 0 || nTo < 0 || nFrom >= nCount || nTo >= nCount || nFrom == nTo)
        return;
    const auto from = m_vecObjects.begin() + nFrom;
    const auto to = m_vecObjects.begin() + nTo;
    if (nFrom < nTo)
        std::rotate(from, from + 1, to + 1);
    else
        std::rotate(to, from, from + 1);
    for (int i = 0; i < nCount; ++i)
        m_vecObjects[size_t(i)]->m_nIndex = i;
}

void CardDocument::ClearObjects()
{
    m_pUndo->Clear();
    m_vecObjects.clear();
    m_nSelected = -1;
    DropUnusedPictures();
}

void CardDocument::RebuildImages()
{
    for (const auto& pObject : m_vecObjects) {
        pObject->SetCanvasSize(m_szClient, m_dDisplayRatio);
        pObject->RebuildImage();
    }
}

TheData* CardDocument::SelectedObject() const
{
    if (m_nSelected < 0 || m_nSelected >= int(m_vecObjects.size()))
        return nullptr;
    return m_vecObjects[size_t(m_nSelected)].get();
}
