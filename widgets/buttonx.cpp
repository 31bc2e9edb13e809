#include "widgets/buttonx.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/quality.h"

namespace {

constexpr int kHoverMs = 20;

} // namespace

CButtonX::CButtonX(QWidget* pParent)
    : QAbstractButton(pParent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    m_hoverTimer.setSingleShot(true);
    m_hoverTimer.setInterval(kHoverMs);
    connect(&m_hoverTimer, &QTimer::timeout, this, &CButtonX::OnMouseHover);
}

CButtonX::~CButtonX() = default;

void CButtonX::SetSkin(const QString& strSkin)
{
    m_strSkin = strSkin;
    m_skin = SkinPicture(strSkin);
    update();
}

void CButtonX::EnableButton(bool bEnable)
{
    m_bEnabled = bEnable ? 1 : 0;
    setEnabled(bEnable);
    update();
}

QImage CButtonX::RenderButton(qreal dRatio) const
{
    QImage buffer = NewBackBuffer(size(), dRatio);
    if (buffer.isNull())
        return buffer;
    if (m_strSkin.isEmpty()) {
        buffer.fill(QColor(255, 0, 0));
        return buffer;
    }
    buffer.fill(Qt::white);
    const QImage& skin = m_skin.ForRatio(dRatio);
    const int nFrameWidth = skin.width() / 4;
    if (nFrameWidth <= 0)
        return buffer;

    QPainter painter(&buffer);
    ApplyQuality(painter);
    // Each frame is cut out before it is stretched, so smoothing never pulls in its neighbour; it is
    // stretched once, straight to device pixels.
    const QRectF rcClient = BufferRect(buffer);
    const auto drawFrame = [&](int nFrame) {
        painter.drawImage(rcClient, skin.copy(nFrame * nFrameWidth, 0, nFrameWidth, skin.height()));
    };
    drawFrame(0);
    if (m_bEnabled) {
        if (m_bHover)
            drawFrame(1);
        if (m_bPressed)
            drawFrame(2);
    } else {
        drawFrame(3);
    }
    return buffer;
}

void CButtonX::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, RenderButton(devicePixelRatioF()));
}

void CButtonX::mousePressEvent(QMouseEvent* pEvent)
{
    if (m_bEnabled && pEvent->button() == Qt::LeftButton) {
        m_bPressed = m_bToggle ? !m_bPressed : 1;
        update();
    }
    QAbstractButton::mousePressEvent(pEvent);
}

void CButtonX::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (m_bEnabled && !m_bLatch && pEvent->button() == Qt::LeftButton) {
        m_bPressed = 0;
        update();
    }
    QAbstractButton::mouseReleaseEvent(pEvent);
}

void CButtonX::mouseMoveEvent(QMouseEvent* pEvent)
{
    if (m_bEnabled)
        m_hoverTimer.start();
    QAbstractButton::mouseMoveEvent(pEvent);
}

void CButtonX::leaveEvent(QEvent* pEvent)
{
    m_hoverTimer.stop();
    m_bHover = 0;
    update();
    QAbstractButton::leaveEvent(pEvent);
}

void CButtonX::OnMouseHover()
{
    m_bHover = 1;
    update();
}
