#include "widgets/wslider.h"

#include <cmath>

#include <QMouseEvent>
#include <QPainter>

#include "platform/messages.h"
#include "platform/quality.h"

namespace {

constexpr int kTrackImageHeight = 7;

int Right(const QRect& rc)
{
    return rc.x() + rc.width();
}

} // namespace

WSlider::WSlider(QWidget* pParent)
    : QWidget(pParent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    PreSubclassWindow();
}

WSlider::~WSlider() = default;

void WSlider::PreSubclassWindow()
{
    m_rcTrack = rect();
    const int nTop = (m_rcTrack.height() - m_nThumbHeight - 1) / 2;
    m_rcSliderThumb = QRect(0, nTop, m_nThumbWidth, m_nThumbHeight);
}

void WSlider::SetPos(int nValue)
{
    m_nPos = nValue;
    m_bPosSet = true;
    m_rcTrack = rect();
    const int nRange = m_nMax - m_nMin;
    // An empty range has no position to stand for: the thumb stays at the left end.
    const int nLeft
        = nRange == 0 ? m_rcTrack.x() : int(std::trunc(double(nValue) / nRange * m_rcTrack.width() + m_rcTrack.x()));
    const int nTop = (m_rcTrack.height() - m_nThumbHeight) / 2;
    m_rcSliderThumb = QRect(nLeft, nTop, m_nThumbWidth, m_nThumbHeight);
    update();
}

void WSlider::SetImages(const QString& strTrackImage, const QString& strThumbImage)
{
    m_strTrackImage = strTrackImage;
    m_strThumbImage = strThumbImage;
    m_track = SkinPicture(strTrackImage);
    m_thumb = SkinPicture(strThumbImage);
    update();
}

int WSlider::ThumbValue() const
{
    if (m_rcTrack.width() <= 0)
        return m_nMin;
    const int nCentre = (m_rcSliderThumb.x() + Right(m_rcSliderThumb)) / 2;
    return int(std::trunc(double(nCentre - m_rcTrack.x()) / m_rcTrack.width() * (m_nMax - m_nMin) + m_nMin));
}

QImage WSlider::RenderSlider(qreal dRatio) const
{
    QImage buffer = NewBackBuffer(size(), dRatio);
    if (buffer.isNull())
        return buffer;
    buffer.fill(QColor(0xD8, 0xD8, 0xE5));
    QPainter painter(&buffer);
    ApplyQuality(painter);
    const QImage& track = m_track.ForRatio(dRatio);
    if (!track.isNull()) {
        painter.drawImage(
            QRect(m_rcTrack.x(), (m_rcTrack.height() - kTrackImageHeight) / 2, width(), kTrackImageHeight), track);
    }
    const QImage& thumb = m_thumb.ForRatio(dRatio);
    if (!thumb.isNull())
        painter.drawImage(m_rcSliderThumb, thumb);
    return buffer;
}

void WSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, RenderSlider(devicePixelRatioF()));
}

void WSlider::resizeEvent(QResizeEvent* pEvent)
{
    PreSubclassWindow();
    if (m_bPosSet)
        SetPos(m_nPos);
    QWidget::resizeEvent(pEvent);
}

void WSlider::ClampThumb()
{
    if (m_rcSliderThumb.x() < m_rcTrack.x())
        m_rcSliderThumb.moveLeft(m_rcTrack.x());
    if (Right(m_rcSliderThumb) > Right(m_rcTrack))
        m_rcSliderThumb.moveLeft(Right(m_rcTrack) - m_rcSliderThumb.width());
}

void WSlider::Notify(int nCode)
{
    SendAppMessage(parentWidget(), WM_SLIDER_NOTIFY, m_nId, nCode);
}

void WSlider::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton)
        return;
    const QPoint pt = pEvent->position().toPoint();
    if (m_rcSliderThumb.contains(pt)) {
        m_bDragging = 1;
        Notify(1);
        setCursor(Qt::PointingHandCursor);
        m_ptLast = pt;
    } else if (m_rcTrack.contains(pt)) {
        m_rcSliderThumb.moveLeft(pt.x() - m_nThumbWidth / 2);
        m_rcSliderThumb.setWidth(m_nThumbWidth);
        ClampThumb();
        repaint();
        Notify(1);
        Notify(2);
        Notify(3);
    }
}

void WSlider::mouseMoveEvent(QMouseEvent* pEvent)
{
    if (!m_bDragging)
        return;
    const QPoint pt = pEvent->position().toPoint();
    setCursor(Qt::PointingHandCursor);
    m_rcSliderThumb.translate(pt.x() - m_ptLast.x(), 0);
    m_ptLast = pt;
    ClampThumb();
    repaint();
    Notify(2);
}

void WSlider::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton)
        return;
    unsetCursor();
    if (m_bDragging) {
        m_bDragging = 0;
        Notify(3);
    }
}
