#include "document/undohistory.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <QObject>

#include "document/carddocument.h"
#include "document/thedata.h"
#include "platform/messages.h"

namespace {

// Conversion toward zero, kept finite and inside the int range whatever the geometry holds.
int TruncToInt(double d)
{
    if (!std::isfinite(d))
        return 0;
    constexpr double dMax = std::numeric_limits<int>::max();
    constexpr double dMin = std::numeric_limits<int>::min();
    return int(std::trunc(std::clamp(d, dMin, dMax)));
}

// Factor from the canvas width a step was recorded at to the width it is replayed at. A width that
// is not positive (a canvas not laid out yet) carries no scale: the step is replayed as recorded.
double ReplayScale(int nCanvasWidth, int nRecordWidth)
{
    if (nCanvasWidth <= 0 || nRecordWidth <= 0)
        return 1.0;
    return double(nCanvasWidth) / nRecordWidth;
}

} // namespace

CUndoHistory::CUndoHistory(QObject* pOwner, QObject* pMainWindow, const CardDocument* pDocument)
    : m_pOwner(pOwner)
    , m_pMainWindow(pMainWindow)
    , m_pDocument(pDocument)
{
}

void CUndoHistory::SetOrder(int nFrom, int nTo)
{
    m_nOrderFrom = nFrom;
    m_nOrderTo = nTo;
}

CUndoHistory::~CUndoHistory()
{
    Clear();
}

void CUndoHistory::BeginEdit(int nKind, TheData* pObject)
{
    if (m_bTextOpen)
        EndEdit();
    m_nPendingKind = nKind;
    m_pPendingObject = pObject;
    if (!pObject)
        return;
    const TheData& obj = *pObject;
    switch (nKind) {
    case UNDO_MOVE:
    case UNDO_RESIZE:
        m_rcBefore = obj.m_rcObject;
        break;
    case UNDO_PHOTO_MOVE:
    case UNDO_PHOTO_RESIZE:
        m_rcBefore = obj.m_rcPhoto;
        break;
    case UNDO_PHOTO:
        m_nBeforeState = obj.PhotoState();
        m_strBeforePhoto = obj.m_strPhoto;
        if (m_nBeforeState == PHOTO_FRAMED)
            TakePlacement(obj, true);
        break;
    case UNDO_MASK:
        m_nBeforeState = obj.PhotoState();
        if (m_nBeforeState == PHOTO_FRAME_ONLY) {
            m_strBeforeFrame = obj.m_strFrame;
        } else if (m_nBeforeState == PHOTO_FRAMED) {
            m_strBeforeFrame = obj.m_strFrame;
            TakePlacement(obj, true);
        } else {
            m_strBeforeMask = obj.m_strMask;
        }
        break;
    case UNDO_FRAME:
        m_nBeforeState = obj.PhotoState();
        if (m_nBeforeState == PHOTO_PLAIN) {
            m_strBeforeFrame = obj.m_strFrame;
        } else if (m_nBeforeState == PHOTO_FRAME_ONLY) {
            m_strBeforeFrame = obj.m_strFrame;
            m_strBeforeFrameMask = obj.m_strFrameMask;
        } else if (m_nBeforeState == PHOTO_FRAMED) {
            m_strBeforeFrame = obj.m_strFrame;
            m_strBeforeFrameMask = obj.m_strFrameMask;
            TakePlacement(obj, false);
        } else {
            m_strBeforeMask = obj.m_strMask;
        }
        break;
    case UNDO_TEXT:
        if (obj.m_pText) {
            m_strBeforeText = obj.m_pText->m_strText;
            m_bTextOpen = 1;
        }
        break;
    case UNDO_SIZE:
        if (obj.m_pText)
            m_nBeforeSize = obj.m_pText->m_nSize;
        break;
    case UNDO_SHADOW_X:
        if (obj.m_pText)
            m_nBeforeShadowX = obj.m_pText->m_nShadowX;
        break;
    case UNDO_SHADOW_Y:
        if (obj.m_pText)
            m_nBeforeShadowY = obj.m_pText->m_nShadowY;
        break;
    default:
        break;
    }
}

void CUndoHistory::TakePlacement(const TheData& obj, bool bWithAngle)
{
    m_rcBeforePhoto = obj.m_rcPhoto;
    m_rcBeforePhotoLocal = obj.m_rcPhotoLocal;
    if (bWithAngle)
        m_dBeforePhotoAngle = obj.m_dPhotoAngle;
}

void CUndoHistory::EndEdit()
{
    TheData* pObject = m_pPendingObject;
    // The snapshot is used up: a second EndEdit for the same BeginEdit records nothing.
    m_pPendingObject = nullptr;
    if (!pObject) {
        m_bTextOpen = 0;
        return;
    }
    const TheData& obj = *pObject;
    auto pRecord = std::make_unique<UndoRecord>();
    pRecord->nKind = m_nPendingKind;
    pRecord->pObject = pObject;
    UndoRecord& r = *pRecord;

    switch (m_nPendingKind) {
    case UNDO_MOVE:
    case UNDO_PHOTO_MOVE: {
        const RectF& rc = m_nPendingKind == UNDO_MOVE ? obj.m_rcObject : obj.m_rcPhoto;
        r.nDx = TruncToInt(rc.X - m_rcBefore.X);
        r.nDy = TruncToInt(rc.Y - m_rcBefore.Y);
        if (r.nDx == 0 && r.nDy == 0)
            return;
        break;
    }
    case UNDO_RESIZE:
    case UNDO_PHOTO_RESIZE: {
        const RectF& rc = m_nPendingKind == UNDO_RESIZE ? obj.m_rcObject : obj.m_rcPhoto;
        r.nDx = TruncToInt(rc.Width - m_rcBefore.Width);
        if (r.nDx == 0)
            return;
        break;
    }
    case UNDO_ROTATE:
    case UNDO_PHOTO_ROTATE:
        if (obj.m_dAngleDelta == 0)
            return;
        r.dAngle = obj.m_dAngleDelta;
        break;
    case UNDO_DELETE:
    case UNDO_ADD:
        break;
    case UNDO_ORDER:
        r.nOrderFrom = m_nOrderFrom;
        r.nOrderTo = m_nOrderTo;
        break;
    case UNDO_PHOTO:
        r.nPhotoState = m_nBeforeState;
        r.strOldPhoto = m_strBeforePhoto;
        r.strNewPath = obj.m_strPhoto;
        if (m_nBeforeState == PHOTO_FRAMED) {
            r.rcOldPhoto = m_rcBeforePhoto;
            r.rcOldPhotoLocal = m_rcBeforePhotoLocal;
            r.dAngle = m_dBeforePhotoAngle;
        }
        break;
    case UNDO_MASK:
        r.nPhotoState = m_nBeforeState;
        r.strNewPath = obj.m_strMask;
        if (m_nBeforeState == PHOTO_FRAME_ONLY) {
            r.strOldFrame = m_strBeforeFrame;
        } else if (m_nBeforeState == PHOTO_FRAMED) {
            r.strOldFrame = m_strBeforeFrame;
            r.rcOldPhoto = m_rcBeforePhoto;
            r.rcOldPhotoLocal = m_rcBeforePhotoLocal;
        } else {
            r.strOldMask = m_strBeforeMask;
        }
        break;
    case UNDO_FRAME:
        r.nPhotoState = m_nBeforeState;
        r.strNewPath = obj.m_strFrame;
        if (m_nBeforeState == PHOTO_PLAIN) {
            r.strOldFrame = m_strBeforeFrame;
        } else if (m_nBeforeState == PHOTO_FRAME_ONLY || m_nBeforeState == PHOTO_FRAMED) {
            r.strOldFrame = m_strBeforeFrame;
            r.strOldFrameMask = m_strBeforeFrameMask;
            r.strNewFrameMask = obj.m_strFrameMask;
            if (m_nBeforeState == PHOTO_FRAMED) {
                r.rcOldPhoto = m_rcBeforePhoto;
                r.rcOldPhotoLocal = m_rcBeforePhotoLocal;
            }
        } else {
            r.strOldMask = m_strBeforeMask;
        }
        break;
    case UNDO_TEXT: {
        const bool bWasOpen = m_bTextOpen;
        m_bTextOpen = 0;
        if (!bWasOpen || !obj.m_pText || obj.m_pText->m_strText == m_strBeforeText)
            return;
        r.strOldText = m_strBeforeText;
        r.strNewText = obj.m_pText->m_strText;
        break;
    }
    case UNDO_SIZE:
        if (!obj.m_pText || obj.m_pText->m_nSize == m_nBeforeSize)
            return;
        r.nOldSize = m_nBeforeSize;
        r.nNewSize = obj.m_pText->m_nSize;
        break;
    case UNDO_SHADOW_X:
        if (!obj.m_pText || obj.m_pText->m_nShadowX == m_nBeforeShadowX)
            return;
        r.nOldShadowX = m_nBeforeShadowX;
        r.nNewShadowX = obj.m_pText->m_nShadowX;
        break;
    case UNDO_SHADOW_Y:
        if (!obj.m_pText || obj.m_pText->m_nShadowY == m_nBeforeShadowY)
            return;
        r.nOldShadowY = m_nBeforeShadowY;
        r.nNewShadowY = obj.m_pText->m_nShadowY;
        break;
    default:
        // The remaining kinds are pushed as ready records by their editor.
        return;
    }
    Push(std::move(pRecord));
}

void CUndoHistory::Push(std::unique_ptr<UndoRecord> pRecord)
{
    if (!pRecord)
        return;
    SendAppMessage(m_pMainWindow, WM_DOCCHANGED, 0, 0);
    // A new step discards everything that could have been redone.
    const int nKeep = std::clamp(m_nCurrent + 1, 0, Count());
    m_vecRecords.erase(m_vecRecords.begin() + nKeep, m_vecRecords.end());
    pRecord->nCanvasWidth = m_pDocument ? m_pDocument->ClientWidth() : 0;
    m_vecRecords.push_back(std::move(pRecord));
    if (Count() > kMaxUndoRecords)
        m_vecRecords.erase(m_vecRecords.begin());
    m_nCurrent = Count() - 1;
    SendUndoState();
}

bool CUndoHistory::Undo(int nCanvasWidth)
{
    if (m_nCurrent < 0 || m_nCurrent >= Count())
        return false;
    const UndoRecord& r = *m_vecRecords[size_t(m_nCurrent)];
    Apply(r, ReplayScale(nCanvasWidth, r.nCanvasWidth), false);
    --m_nCurrent;
    SendUndoState();
    return true;
}

bool CUndoHistory::Redo(int nCanvasWidth)
{
    const int i = m_nCurrent + 1;
    if (i < 0 || i >= Count())
        return false;
    const UndoRecord& r = *m_vecRecords[size_t(i)];
    Apply(r, ReplayScale(nCanvasWidth, r.nCanvasWidth), true);
    m_nCurrent = i;
    SendUndoState();
    return true;
}

void CUndoHistory::Clear()
{
    m_vecRecords.clear();
    m_nCurrent = -1;
}

void CUndoHistory::Apply(const UndoRecord& r, double k, bool bRedo)
{
    if (r.nKind == UNDO_ORDER) {
        if (bRedo)
            SendAppMessage(m_pOwner, WM_RESTACK, r.nOrderFrom, r.nOrderTo);
        else
            SendAppMessage(m_pOwner, WM_RESTACK, r.nOrderTo, r.nOrderFrom);
        return;
    }
    if (!r.pObject)
        return;
    TheData& obj = *r.pObject;
    const int nSign = bRedo ? 1 : -1;
    // A stored pixel amount in today's card pixels, with the direction of the replay.
    const auto pixels = [k, nSign](int m) { return nSign * TruncToInt(m * k); };
    const RectF rcNone;

    switch (r.nKind) {
    case UNDO_MOVE:
        obj.MoveBy(pixels(r.nDx), pixels(r.nDy), 1);
        break;
    case UNDO_RESIZE:
        obj.StorePhotoCrop(1);
        obj.ResizeBy(pixels(r.nDx), 1);
        obj.StorePhotoCrop(0);
        obj.RebuildImage();
        break;
    case UNDO_ROTATE:
        obj.m_dAngle += nSign * r.dAngle;
        break;
    case UNDO_DELETE:
        obj.m_bDeleted = bRedo ? 1 : 0;
        break;
    case UNDO_ADD:
        obj.m_bDeleted = bRedo ? 0 : 1;
        break;
    case UNDO_PHOTO:
        if (bRedo)
            obj.SetPhoto(r.strNewPath, 0, rcNone, rcNone, 0);
        else if (r.nPhotoState == PHOTO_FRAMED)
            obj.SetPhoto(r.strOldPhoto, 1, r.rcOldPhoto.scaled(k), r.rcOldPhotoLocal.scaled(k), r.dAngle);
        else
            obj.SetPhoto(r.strOldPhoto, 0, rcNone, rcNone, 0);
        break;
    case UNDO_MASK:
        if (bRedo)
            obj.SetMask(r.strNewPath);
        else if (r.nPhotoState == PHOTO_FRAME_ONLY)
            obj.SetFrame(r.strOldFrame, 0, rcNone, rcNone);
        else if (r.nPhotoState == PHOTO_FRAMED)
            obj.SetFrame(r.strOldFrame, 1, r.rcOldPhoto.scaled(k), r.rcOldPhotoLocal.scaled(k));
        else
            obj.SetMask(r.strOldMask);
        break;
    case UNDO_FRAME:
        if (bRedo) {
            if (r.nPhotoState == PHOTO_FRAME_ONLY || r.nPhotoState == PHOTO_FRAMED)
                obj.m_strFrameMask = r.strNewFrameMask;
            obj.SetFrame(r.strNewPath, 0, rcNone, rcNone);
        } else if (r.nPhotoState == PHOTO_PLAIN) {
            obj.SetFrame(r.strOldFrame, 0, rcNone, rcNone);
        } else if (r.nPhotoState == PHOTO_FRAME_ONLY) {
            obj.m_strFrameMask = r.strOldFrameMask;
            obj.SetFrame(r.strOldFrame, 0, rcNone, rcNone);
        } else if (r.nPhotoState == PHOTO_FRAMED) {
            obj.m_strFrameMask = r.strOldFrameMask;
            obj.SetFrame(r.strOldFrame, 1, r.rcOldPhoto.scaled(k), r.rcOldPhotoLocal.scaled(k));
        } else {
            obj.SetMask(r.strOldMask);
        }
        break;
    case UNDO_PHOTO_MOVE:
        obj.MoveBy(pixels(r.nDx), pixels(r.nDy), 0);
        obj.RebuildImage();
        break;
    case UNDO_PHOTO_ROTATE:
        obj.m_dPhotoAngle += nSign * r.dAngle;
        obj.RebuildImage();
        break;
    case UNDO_PHOTO_RESIZE:
        obj.ResizeBy(pixels(r.nDx), 0);
        obj.RebuildImage();
        break;
    default:
        ApplyText(r, bRedo);
        break;
    }
}

void CUndoHistory::ApplyText(const UndoRecord& r, bool bRedo)
{
    TheData& obj = *r.pObject;
    if (!obj.m_pText)
        return;
    CTextPanel& text = *obj.m_pText;
    switch (r.nKind) {
    case UNDO_TEXT:
        text.m_strText = bRedo ? r.strNewText : r.strOldText;
        obj.RefitText();
        break;
    case UNDO_FONT:
        text.m_strFont = bRedo ? r.strNewFont : r.strOldFont;
        obj.RefitText();
        break;
    case UNDO_SIZE:
        text.m_nSize = bRedo ? r.nNewSize : r.nOldSize;
        obj.RefitText();
        break;
    case UNDO_COLOR:
        text.m_clrText = bRedo ? r.clrNew : r.clrOld;
        break;
    case UNDO_BOLD:
        text.m_bBold = !text.m_bBold;
        break;
    case UNDO_ITALIC:
        text.m_bItalic = !text.m_bItalic;
        break;
    case UNDO_UNDERLINE:
        text.m_bUnderline = !text.m_bUnderline;
        break;
    case UNDO_STRIKEOUT:
        text.m_bStrikeout = !text.m_bStrikeout;
        break;
    case UNDO_ALIGN:
        text.m_nAlign = bRedo ? r.nNewAlign : r.nOldAlign;
        break;
    case UNDO_SHADOW:
        text.m_bShadow = !text.m_bShadow;
        break;
    case UNDO_SHADOW_X:
        text.m_nShadowX = bRedo ? r.nNewShadowX : r.nOldShadowX;
        break;
    case UNDO_SHADOW_Y:
        text.m_nShadowY = bRedo ? r.nNewShadowY : r.nOldShadowY;
        break;
    case UNDO_SHADOW_COLOR:
        text.m_clrShadow = bRedo ? r.clrNewShadow : r.clrOldShadow;
        break;
    default:
        break;
    }
}

void CUndoHistory::SendUndoState()
{
    SendAppMessage(m_pMainWindow, WM_UNDOSTATE, m_nCurrent, Count() - 1);
}
