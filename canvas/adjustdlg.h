#pragma once

#include <QPointF>
#include <QWidget>

class Canvas;
class TheData;

// The green outline of the photo object a drop would change, drawn above every object of the card.
// A transparent child laid exactly over the canvas, so canvas client coordinates are its own; it
// lets every mouse and drag event through to the canvas. Shown by the canvas while a drag is over
// a photo object, hidden after the drop, away from photo objects and on deselecting.
class AdjustDlg : public QWidget {
    Q_OBJECT

public:
    explicit AdjustDlg(Canvas* pOwnerCanvas);
    ~AdjustDlg() override;

    // Outlines the object, rotated like it, and shows the overlay over the whole canvas.
    void ShowOver(TheData* pTarget);

    // The outlined object: null until the first ShowOver; it keeps the last target once hidden.
    TheData* m_pTarget = nullptr;
    Canvas* m_pOwnerCanvas = nullptr;
    // Centre of the target's rectangle, taken when the overlay is shown.
    QPointF m_ptfCentre;

protected:
    // QWidget events
    void paintEvent(QPaintEvent* pEvent) override;
};
