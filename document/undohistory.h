#pragma once

#include <memory>
#include <vector>

#include <QString>

#include "document/rectf.h"

class CardDocument;
class QObject;
class TheData;

enum UndoKind : int {
    UNDO_MOVE = 0,
    UNDO_RESIZE = 1,
    UNDO_ROTATE = 2,
    UNDO_DELETE = 3,
    UNDO_ORDER = 4,
    UNDO_ADD = 5,
    UNDO_PHOTO = 7,
    UNDO_MASK = 8,
    UNDO_FRAME = 9,
    UNDO_PHOTO_MOVE = 10,
    UNDO_PHOTO_ROTATE = 11,
    UNDO_PHOTO_RESIZE = 12,
    UNDO_TEXT = 13,
    UNDO_FONT = 14,
    UNDO_SIZE = 15,
    UNDO_COLOR = 16,
    UNDO_BOLD = 17,
    UNDO_ITALIC = 18,
    UNDO_UNDERLINE = 19,
    UNDO_STRIKEOUT = 20,
    UNDO_ALIGN = 21,
    UNDO_SHADOW = 22,
    UNDO_SHADOW_X = 23,
    UNDO_SHADOW_Y = 24,
    UNDO_SHADOW_COLOR = 25,
};

// Most records the history keeps; older ones are dropped.
constexpr int kMaxUndoRecords = 80;

// One step of the history. Holds deltas and paths, never pictures; the object is not owned.
struct UndoRecord {
    int nKind = 0;
    TheData* pObject = nullptr;
    int nDx = 0; // dx or dw
    int nDy = 0;
    double dAngle = 0;
    int nOrderFrom = 0;
    int nOrderTo = 0;
    int nPhotoState = 0;
    QString strOldPhoto;
    QString strOldFrame;
    QString strOldMask;
    QString strOldFrameMask;
    QString strNewPath;
    QString strNewFrameMask;
    int nCanvasWidth = 0;
    RectF rcOldPhoto;
    RectF rcOldPhotoLocal;
    QString strOldText;
    QString strNewText;
    QString strOldFont;
    QString strNewFont;
    int nOldSize = 0;
    int nNewSize = 0;
    quint32 clrOld = 0xFF000000;
    quint32 clrNew = 0xFF000000;
    int nOldAlign = 0;
    int nNewAlign = 0;
    int nOldShadowX = 0;
    int nOldShadowY = 0;
    int nNewShadowX = 0;
    int nNewShadowY = 0;
    quint32 clrOldShadow = 0xFF000000;
    quint32 clrNewShadow = 0xFF000000;
};

// The card's undo history. Talks to the program only through messages: WM_DOCCHANGED and
// WM_UNDOSTATE to the main window, WM_RESTACK to the owner (the canvas).
class CUndoHistory {
public:
    // pOwner (the canvas) receives WM_RESTACK and pMainWindow the document and undo-state messages;
    // either may be null. pDocument supplies the canvas client width recorded with every step.
    CUndoHistory(QObject* pOwner, QObject* pMainWindow, const CardDocument* pDocument);
    ~CUndoHistory();
    CUndoHistory(const CUndoHistory&) = delete;
    CUndoHistory& operator=(const CUndoHistory&) = delete;

    void BeginEdit(int nKind, TheData* pObject);
    void EndEdit();
    void Push(std::unique_ptr<UndoRecord> pRecord);
    bool Undo(int nCanvasWidth);
    bool Redo(int nCanvasWidth);
    void Clear();

    int Current() const { return m_nCurrent; }
    int Count() const { return int(m_vecRecords.size()); }
    const UndoRecord* RecordAt(int n) const { return m_vecRecords.at(size_t(n)).get(); }

    // The open UNDO_ORDER edit's move, written by the canvas between BeginEdit and EndEdit.
    void SetOrder(int nFrom, int nTo);
    // Whether a text edit (UNDO_TEXT) waits for the text box to lose the focus; the text panel opens it
    // after its BeginEdit, EndEdit closes it.
    void SetTextOpen(int bOpen) { m_bTextOpen = bOpen; }
    int TextOpen() const { return m_bTextOpen; }

private:
    // Keeps the framed photo's placement (and its angle when asked) for the pending edit.
    void TakePlacement(const TheData& obj, bool bWithAngle);
    // Reverts (bRedo false) or repeats a record; k scales its card pixels to today's canvas width.
    void Apply(const UndoRecord& record, double k, bool bRedo);
    void ApplyText(const UndoRecord& record, bool bRedo);
    void SendUndoState();

    QObject* m_pOwner;
    std::vector<std::unique_ptr<UndoRecord>> m_vecRecords;
    int m_nCurrent = -1;
    int m_nPendingKind = 0;
    TheData* m_pPendingObject = nullptr;
    RectF m_rcBefore;
    int m_nOrderFrom = 0;
    int m_nOrderTo = 0;
    int m_nBeforeState = 0;
    QString m_strBeforePhoto;
    QString m_strBeforeFrame;
    QString m_strBeforeMask;
    QString m_strBeforeFrameMask;
    RectF m_rcBeforePhoto;
    RectF m_rcBeforePhotoLocal;
    double m_dBeforePhotoAngle = 0;
    int m_bTextOpen = 0;
    QString m_strBeforeText;
    int m_nBeforeSize = 0;
    int m_nBeforeShadowX = 0;
    int m_nBeforeShadowY = 0;

    QObject* m_pMainWindow;
    const CardDocument* m_pDocument;
};
