#pragma once

#include <memory>
#include <vector>

#include <QSize>
#include <QString>

#include "document/thedata.h"

class CUndoHistory;
class QObject;

// The card being edited: background, objects in stacking order (index 0 at the bottom), the
// selection and the undo history. The canvas holds one and keeps m_szClient equal to its client
// size; everything that draws or replays the card reads the size from here, so the card can be
// edited and rendered with no window at all.
class CardDocument {
public:
    // The undo history sends WM_RESTACK to pOwner (the canvas) and WM_DOCCHANGED and WM_UNDOSTATE to
    // pMainWindow.
    explicit CardDocument(QObject* pOwner = nullptr, QObject* pMainWindow = nullptr);
    ~CardDocument();
    CardDocument(const CardDocument&) = delete;
    CardDocument& operator=(const CardDocument&) = delete;

    // Index of the topmost live object whose outline contains the point, or -1.
    int HitTest(int x, int y) const;
    // Whether the point lies inside the photo outline of the selected object.
    bool HitPhoto(int x, int y) const;

    // Appends the object and numbers it; with bRecord set the addition is one undo step.
    TheData* AddObject(std::unique_ptr<TheData> pObject, int bRecord);
    // Moves the object at nFrom so that it ends up at nTo, renumbering every object.
    void MoveInStack(int nFrom, int nTo);
    // Frees every object, deselects and empties the undo history; the pictures only they showed go too.
    void ClearObjects();
    // Remakes every object's display image for a canvas of the client size at the display ratio (the
    // canvas shows them; nothing else needs them).
    void RebuildImages();

    TheData* SelectedObject() const;
    int ClientWidth() const { return m_szClient.width(); }

    QString m_strBackground;
    std::vector<std::unique_ptr<TheData>> m_vecObjects;
    int m_nSelected = -1;
    std::unique_ptr<CUndoHistory> m_pUndo;
    QSize m_szClient;
    // Device pixels per client pixel on the screen the canvas is shown on.
    qreal m_dDisplayRatio = 1;
    // The width the user typed for printing in millimetres; 0 prints at 300 pixels per inch.
    double m_dPrintWidthMm = 0;
};
