#include "canvas/rollctrl.h"

#include <cmath>
#include <cstdlib>

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include "platform/messages.h"
#include "platform/quality.h"
#include "platform/skinpicture.h"

namespace {

// The angle conversion the dial has always turned by.
constexpr double kPi = 3.1415926535;
constexpr QRgb kDialBackground = 0xFF282828;
constexpr QRgb kKnobColour = 0xFFEFEFF3;

QTransform TurnAbout(QPoint ptCentre, double dAngle)
{
    QTransform matrix;
    matrix.translate(ptCentre.x(), ptCentre.y());
    matrix.rotate(dAngle);
    matrix.translate(-ptCentre.x(), -ptCentre.y());
    return matrix;
}

// The direction from the centre to the point, counter-clockwise on the screen (y flipped), degrees.
double DirectionOf(QPoint ptCentre, QPoint pt)
{
    return std::atan2(double(ptCentre.y() - pt.y()), double(pt.x() - ptCentre.x())) * 180 / kPi;
}

} // namespace

CRollCtrl::CRollCtrl(QWidget* pParent, const QRect& rc, const QString& strAppDir)
    : QWidget(pParent)
    , m_strSkin(strAppDir + QStringLiteral("Skins/roll.bmp"))
{
    setObjectName(QStringLiteral("dial%1").arg(kControlId));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setGeometry(rc);
    const int d = rc.width();
    m_ptCentre = QPoint(d / 2, d / 2);
    const int q = d / 4;
    m_rcCentre = QRect(q, q, d - 2 * q, d - 2 * q);
    // The knob: a quarter of the width, centred at the top, shrunk by 2 px and lifted by 1 px.
    const int nKnobLeft = d / 2 - q / 2;
    m_rcKnob = QRect(nKnobLeft + 2, 2 - 1, q - 4, q - 4);
    show();
}

CRollCtrl::~CRollCtrl() = default;

double CRollCtrl::Normalised(double dAngle)
{
    if (dAngle >= 360)
        dAngle -= 360;
    if (dAngle < 0)
        dAngle += 360;
    return dAngle;
}

int CRollCtrl::DragStep(int dx, int dy)
{
    return std::abs(dx) < std::abs(dy) ? dy : dx;
}

double CRollCtrl::TurnBetween(QPoint ptCentre, QPoint ptFrom, QPoint ptTo)
{
    return DirectionOf(ptCentre, ptFrom) - DirectionOf(ptCentre, ptTo);
}

bool CRollCtrl::HitKnob(QPoint pt) const
{
    QPainterPath path;
    path.addRect(QRectF(m_rcKnob));
    const QPolygonF turned = TurnAbout(m_ptCentre, m_dDialAngle).map(path.toFillPolygon());
    return turned.containsPoint(QPointF(pt), Qt::OddEvenFill);
}

void CRollCtrl::OnLButtonDown(QPoint pt)
{
    if (HitKnob(pt)) {
        setCursor(Qt::PointingHandCursor);
        m_bRotating = 1;
        m_ptLast = pt;
        Send(WM_DIAL_ROTATE, 0, 1);
        update();
    } else if (m_rcCentre.contains(pt)) {
        setCursor(Qt::CrossCursor);
        m_bDragging = 1;
        m_ptLast = pt;
        Send(WM_DIAL_DRAG, 0, 1);
    }
}

void CRollCtrl::OnMouseMove(QPoint pt)
{
    if (m_bRotating) {
        m_dDelta = TurnBetween(m_ptCentre, m_ptLast, pt);
        repaint();
        Send(WM_DIAL_ROTATE, 0, 2);
    } else if (m_bDragging) {
        const int dx = pt.x() - m_ptLast.x();
        const int dy = pt.y() - m_ptLast.y();
        m_ptLast = pt;
        Send(WM_DIAL_DRAG, DragStep(dx, dy), 2);
    } else {
        SetHoverCursor(pt);
    }
}

void CRollCtrl::OnLButtonUp()
{
    if (m_bRotating) {
        m_bRotating = 0;
        m_dDialAngle = Normalised(m_dDialAngle + m_dDelta);
        m_dDelta = 0;
        repaint();
        Send(WM_DIAL_ROTATE, 0, 3);
    } else if (m_bDragging) {
        m_bDragging = 0;
        Send(WM_DIAL_DRAG, 0, 3);
    }
}

QImage CRollCtrl::RenderDial(qreal dRatio) const
{
    QImage buffer = NewBackBuffer(size(), dRatio);
    if (buffer.isNull())
        return buffer;
    buffer.fill(QColor::fromRgba(kDialBackground));
    QPainter painter(&buffer);
    ApplyQuality(painter);
    // Read on every paint, as the skin may be replaced while the program runs.
    const QImage skin = ReadSkin(m_strSkin, dRatio);
    if (!skin.isNull())
        painter.drawImage(rect(), skin);

    const double a = Normalised(m_dDialAngle + m_dDelta);
    painter.setWorldTransform(TurnAbout(m_ptCentre, a));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgba(kKnobColour));
    painter.drawEllipse(QRectF(m_rcKnob));
    painter.resetTransform();

    if (m_bRotating) {
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(10);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(rect()), Qt::AlignCenter, QString::number(int(a)));
    }
    return buffer;
}

void CRollCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, RenderDial(devicePixelRatioF()));
}

void CRollCtrl::mousePressEvent(QMouseEvent* pEvent)
{
    // Qt holds the pointer for the widget from the press to the release.
    if (pEvent->button() == Qt::LeftButton)
        OnLButtonDown(pEvent->position().toPoint());
}

void CRollCtrl::mouseMoveEvent(QMouseEvent* pEvent)
{
    OnMouseMove(pEvent->position().toPoint());
}

void CRollCtrl::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton) {
        unsetCursor();
        OnLButtonUp();
    }
}

void CRollCtrl::Send(int nMessage, qintptr wParam, qintptr lParam)
{
    SendAppMessage(parentWidget(), nMessage, wParam, lParam);
}

void CRollCtrl::SetHoverCursor(QPoint pt)
{
    if (HitKnob(pt))
        setCursor(Qt::PointingHandCursor);
    else if (m_rcCentre.contains(pt))
        setCursor(Qt::CrossCursor);
}
