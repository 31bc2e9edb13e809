#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

#include "platform/appdir.h"

// The rotation dial of the floating toolbar: a knob on the rim that is turned about the centre, and a
// square area in the middle that is dragged to resize. It knows nothing about objects: it reports
// every phase of both gestures to its parent, WM_DIAL_ROTATE for the knob (lParam 1 press, 2 move,
// 3 release; the turn so far is in m_dDelta) and WM_DIAL_DRAG for the centre (lParam 1, 2 with the
// step in wParam, 3).
//
// Rectangles are QRect (left, top, width, height): "right" is left + width, exclusive.
class CRollCtrl : public QWidget {
    Q_OBJECT

public:
    // A child of pParent at rc (a square), with control id 8223; the skin is strAppDir + "Skins/roll.bmp".
    CRollCtrl(QWidget* pParent, const QRect& rc, const QString& strAppDir = GetAppDir());
    ~CRollCtrl() override;

    // Whether the point lies on the knob turned to the angle it shows.
    bool HitKnob(QPoint pt) const;
    // The press, move and release of both gestures, in client coordinates.
    void OnLButtonDown(QPoint pt);
    void OnMouseMove(QPoint pt);
    void OnLButtonUp();

    // The dial as it is shown, on a back buffer of the client size at the device pixel ratio.
    QImage RenderDial(qreal dRatio = 1) const;

    // The signed step of a centre drag by (dx, dy): the component of larger magnitude, dx on a tie.
    static int DragStep(int dx, int dy);
    // The clockwise turn, in degrees, that takes ptFrom to ptTo about ptCentre on the screen.
    static double TurnBetween(QPoint ptCentre, QPoint ptFrom, QPoint ptTo);
    // The angle brought into [0, 360) by one turn either way.
    static double Normalised(double dAngle);

    static constexpr int kControlId = 8223;

    QRect m_rcKnob;
    QRect m_rcCentre;
    double m_dDialAngle = 0;
    double m_dDelta = 0;
    int m_bRotating = 0;
    int m_bDragging = 0;
    QPoint m_ptLast;
    QPoint m_ptCentre;
    QString m_strSkin;

protected:
    // QWidget events
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;

private:
    void Send(int nMessage, qintptr wParam, qintptr lParam);
    // The hand over the knob, the cross over the centre area, elsewhere unchanged.
    void SetHoverCursor(QPoint pt);
};
