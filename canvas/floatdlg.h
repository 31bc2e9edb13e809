#pragma once

#include <QPainterPath>
#include <QPoint>
#include <QString>
#include <QWidget>

#include "platform/appdir.h"

class CButtonX;
class CRollCtrl;
class Canvas;
class TheData;

// Control ids of the floating toolbar's buttons.
enum FloatDlgButtonId : int {
    IDC_FLOAT_FORWARD = 1028,
    IDC_FLOAT_TOFRONT = 1029,
    IDC_FLOAT_TOBACK = 1062,
    IDC_FLOAT_BACKWARD = 1063,
    IDC_FLOAT_DELETE = 1064,
    IDC_FLOAT_DOCK = 1065,
};

// The small rounded toolbar under the selected object: the rotation dial (turn the knob to
// rotate, drag the centre to resize) and buttons to restack, delete and dock. In object mode it works
// on the whole object; in photo mode on the photo inside the frame, and restacking and deleting are
// disabled. Each gesture is one undo step. The canvas owns one for its lifetime and places it.
class FloatDlg : public QWidget {
    Q_OBJECT

public:
    explicit FloatDlg(QWidget* pParent = nullptr, const QString& strAppDir = GetAppDir());
    ~FloatDlg() override;

    // Gives the toolbar its target and mode; nLastIndex is the index of the card's last object.
    void SetTarget(int bObjectMode, TheData* pTarget, int nLastIndex);
    // Enables the upward pair unless the target is last and the downward pair unless it is first.
    void UpdateOrderButtons();

    // The button commands.
    void OnToFront();
    void OnForward();
    void OnBackward();
    void OnToBack();
    void OnDelete();
    void OnDock();
    // The dial's reports.
    void OnDialRotate(qintptr lParam);
    void OnDialDrag(qintptr wParam, qintptr lParam);

    // The toolbar's background as it is shown, on a back buffer of the client size.
    QImage RenderBackground(qreal dRatio = 1) const;

    static constexpr int kWidth = 230;
    static constexpr int kHeight = 60;

    TheData* m_pTarget = nullptr;
    Canvas* m_pOwnerCanvas = nullptr;
    int m_nLastIndex = 0;
    int m_bDocked = 0;
    int m_bObjectMode = 1;
    CRollCtrl* m_pDial = nullptr;
    CButtonX* m_btnToFront = nullptr;
    CButtonX* m_btnForward = nullptr;
    CButtonX* m_btnBackward = nullptr;
    CButtonX* m_btnToBack = nullptr;
    CButtonX* m_btnDelete = nullptr;
    CButtonX* m_btnDock = nullptr;

protected:
    // QWidget events
    bool event(QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;

private:
    CButtonX* AddButton(int nId, const QString& strSkin, const QRect& rc, const QString& strTip);
    QPainterPath Shape() const;
    // Moves the selected object to stacking position nTo as one undo step.
    void MoveSelectionTo(int nTo);
    void RepaintCanvas();

    QString m_strAppDir;
    // Moving by the background: the pointer's place on the toolbar when pressed.
    int m_bMoving = 0;
    QPoint m_ptMoveOffset;
};
