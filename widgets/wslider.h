#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

#include "platform/skinpicture.h"

// A horizontal slider drawn from two pictures, a track and a thumb. It reports its thumb gestures to
// its parent with WM_SLIDER_NOTIFY (wParam m_nId; lParam 1 grabbed, 2 moved, 3 released); the
// parent reads the value the thumb stands for with ThumbValue.
//
// Rectangles are kept as QRect (left, top, width, height); "right" below means left + width.
class WSlider : public QWidget {
    Q_OBJECT

public:
    explicit WSlider(QWidget* pParent = nullptr);
    ~WSlider() override;

    // m_nPos = nValue; places the thumb's left edge at nValue / (m_nMax - m_nMin) of the track width
    // (the range is not shifted by m_nMin) and repaints.
    void SetPos(int nValue);
    // Stores both picture paths, reads their pictures once and repaints.
    void SetImages(const QString& strTrackImage, const QString& strThumbImage);
    // Takes the client rectangle as the track and puts the thumb at its left end.
    void PreSubclassWindow();
    // The value the thumb's centre stands for: trunc((c - track left) / track width x (max - min) + min).
    int ThumbValue() const;

    // The slider as it is shown, drawn on a picture of the client size at the device pixel ratio dRatio.
    QImage RenderSlider(qreal dRatio = 1.0) const;

    int m_nId = 0;
    int m_nMin = 0;
    int m_nMax = 100;
    int m_nPos = 0;
    int m_nThumbWidth = 20;
    int m_nThumbHeight = 11;
    QRect m_rcTrack;
    QRect m_rcSliderThumb;
    int m_bDragging = 0;
    QPoint m_ptLast;
    QString m_strTrackImage;
    QString m_strThumbImage;

protected:
    // QWidget events
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;

private:
    // Keeps the thumb's width and moves it back inside the track.
    void ClampThumb();
    void Notify(int nCode);

    // SetPos has placed the thumb at least once, so a new client size places it again for m_nPos.
    bool m_bPosSet = false;
    // The pictures of the two paths (and their @2x pictures), read by SetImages: a drag repaints at every
    // move.
    SkinPicture m_track;
    SkinPicture m_thumb;
};
