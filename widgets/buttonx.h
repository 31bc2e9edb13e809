#pragma once

#include <QAbstractButton>
#include <QImage>
#include <QString>
#include <QTimer>

#include "platform/skinpicture.h"

// A push button drawn entirely from a skin picture: one horizontal strip of four equal frames
// (normal, hover, pressed, disabled). The button keeps its own state flags and paints itself from
// them; clicks still arrive as the ordinary clicked signal.
class CButtonX : public QAbstractButton {
    Q_OBJECT

public:
    explicit CButtonX(QWidget* pParent = nullptr);
    ~CButtonX() override;

    // Sets m_strSkin, reads its picture once and repaints.
    void SetSkin(const QString& strSkin);
    // Sets m_bEnabled together with the widget's own enabled state and repaints.
    void EnableButton(bool bEnable);

    // The button as it is shown, drawn on a picture of the client size: opaque red without a skin
    // path; otherwise white, frame 0 stretched over it, then frame 1 (hovered) and frame 2 (pressed)
    // when enabled, or frame 3 when not. The picture has the device pixel ratio dRatio; above 1 the
    // frames come from the skin's @2x picture when there is one.
    QImage RenderButton(qreal dRatio = 1.0) const;

    int m_bHover = 0;
    int m_bPressed = 0;
    QString m_strSkin;
    int m_bEnabled = 1;
    int m_bLatch = 0;
    int m_bToggle = 0;

protected:
    // QWidget events
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void leaveEvent(QEvent* pEvent) override;

private:
    void OnMouseHover();

    // Raises the hover flag once the pointer has rested on the button for 20 ms.
    QTimer m_hoverTimer;
    // The picture of m_strSkin (and its @2x picture), read by SetSkin so that painting decodes nothing.
    SkinPicture m_skin;
};
