#include "canvas/adjustdlg.h"

#include <QPainter>
#include <QTransform>

#include "canvas/canvas.h"
#include "document/thedata.h"

namespace {

constexpr QRgb kOutlineColour = 0xFF00C800;

} // namespace

AdjustDlg::AdjustDlg(Canvas* pOwnerCanvas)
    : QWidget(pOwnerCanvas)
    , m_pOwnerCanvas(pOwnerCanvas)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    hide();
}

AdjustDlg::~AdjustDlg() = default;

void AdjustDlg::ShowOver(TheData* pTarget)
{
    m_pTarget = pTarget;
    setGeometry(m_pOwnerCanvas->rect());
    const RectF& rc = pTarget->m_rcObject;
    m_ptfCentre = QPointF(rc.X + rc.Width / 2, rc.Y + rc.Height / 2);
    raise();
    show();
    repaint();
}

void AdjustDlg::paintEvent(QPaintEvent*)
{
    if (!m_pTarget)
        return;
    // Drawn straight onto the window, which the card shows through: the outline alone is painted.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double dAngle = m_pTarget->m_dAngle + m_pTarget->m_dAngleDelta;
    QTransform matrix;
    matrix.translate(m_ptfCentre.x(), m_ptfCentre.y());
    matrix.rotate(dAngle);
    matrix.translate(-m_ptfCentre.x(), -m_ptfCentre.y());
    // The half-pixel shift puts the one-pixel line on whole pixels, as the selection outline.
    matrix *= QTransform::fromTranslate(0.5, 0.5);
    painter.setWorldTransform(matrix);
    painter.setPen(QPen(QColor::fromRgba(kOutlineColour), 1, Qt::SolidLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(m_pTarget->m_rcObject.toQRectF());
}
