#include "canvas/floatdlg.h"

#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "canvas/canvas.h"
#include "canvas/rollctrl.h"
#include "document/thedata.h"
#include "document/undohistory.h"
#include "platform/messages.h"
#include "platform/quality.h"
#include "widgets/buttonx.h"

namespace {

constexpr QRgb kBackground = 0xFFEFEFF3;
// Constant opacity of the toolbar, out of 255.
constexpr int kOpacity = 229;
// The corner ellipse of the rounded shape.
constexpr double kCornerDiameter = 15;

} // namespace

FloatDlg::FloatDlg(QWidget* pParent, const QString& strAppDir)
    : QWidget(pParent)
    , m_strAppDir(strAppDir)
{
    // A child widget: a window of its own would be placed by a Wayland compositor wherever it likes,
    // and would take the keyboard from the canvas. The rounded shape is painted with see-through
    // corners, and the whole toolbar, buttons included, is blended with what lies below.
    setFocusPolicy(Qt::NoFocus);
    auto* pOpacity = new QGraphicsOpacityEffect(this);
    pOpacity->setOpacity(kOpacity / 255.0);
    setGraphicsEffect(pOpacity);
    setFixedSize(kWidth, kHeight);
    hide();

    m_pDial = new CRollCtrl(this, QRect(5, 5, 50, 50), strAppDir);
    m_btnForward = AddButton(IDC_FLOAT_FORWARD, QStringLiteral("u.bmp"), {65, 15, 22, 23}, tr("Bring forward"));
    m_btnBackward = AddButton(IDC_FLOAT_BACKWARD, QStringLiteral("n.bmp"), {93, 15, 22, 23}, tr("Send backward"));
    m_btnToFront = AddButton(IDC_FLOAT_TOFRONT, QStringLiteral("uu.bmp"), {121, 15, 22, 23}, tr("Bring to front"));
    m_btnToBack = AddButton(IDC_FLOAT_TOBACK, QStringLiteral("nn.bmp"), {149, 15, 22, 23}, tr("Send to back"));
    m_btnDelete = AddButton(IDC_FLOAT_DELETE, QStringLiteral("del.bmp"), {182, 15, 22, 23}, tr("Delete"));
    m_btnDock = AddButton(IDC_FLOAT_DOCK, QStringLiteral("dock.bmp"), {208, 2, 17, 17}, tr("Keep the toolbar here"));
    m_btnDock->m_bToggle = 1;
    m_btnDock->m_bLatch = 1;

    connect(m_btnToFront, &QAbstractButton::clicked, this, &FloatDlg::OnToFront);
    connect(m_btnForward, &QAbstractButton::clicked, this, &FloatDlg::OnForward);
    connect(m_btnBackward, &QAbstractButton::clicked, this, &FloatDlg::OnBackward);
    connect(m_btnToBack, &QAbstractButton::clicked, this, &FloatDlg::OnToBack);
    connect(m_btnDelete, &QAbstractButton::clicked, this, &FloatDlg::OnDelete);
    connect(m_btnDock, &QAbstractButton::clicked, this, &FloatDlg::OnDock);
}

FloatDlg::~FloatDlg() = default;

CButtonX* FloatDlg::AddButton(int nId, const QString& strSkin, const QRect& rc, const QString& strTip)
{
    auto* pButton = new CButtonX(this);
    pButton->setObjectName(QStringLiteral("button%1").arg(nId));
    pButton->setFocusPolicy(Qt::NoFocus);
    pButton->setToolTip(strTip);
    pButton->setGeometry(rc);
    pButton->SetSkin(m_strAppDir + QStringLiteral("Skins/") + strSkin);
    return pButton;
}

void FloatDlg::SetTarget(int bObjectMode, TheData* pTarget, int nLastIndex)
{
    m_bObjectMode = bObjectMode;
    for (CButtonX* pButton : {m_btnToFront, m_btnForward, m_btnBackward, m_btnToBack, m_btnDelete})
        pButton->EnableButton(bObjectMode != 0);
    m_pTarget = pTarget;
    if (pTarget) {
        if (bObjectMode) {
            m_pDial->m_dDialAngle = pTarget->m_dAngle;
            m_nLastIndex = nLastIndex;
            UpdateOrderButtons();
        } else {
            m_pDial->m_dDialAngle = pTarget->m_dAngle + pTarget->m_dPhotoAngle;
        }
    }
    m_pDial->update();
    update();
}

void FloatDlg::UpdateOrderButtons()
{
    for (CButtonX* pButton : {m_btnToFront, m_btnForward, m_btnBackward, m_btnToBack})
        pButton->EnableButton(true);
    if (!m_pTarget)
        return;
    if (m_pTarget->m_nIndex == 0) {
        m_btnBackward->EnableButton(false);
        m_btnToBack->EnableButton(false);
    }
    if (m_pTarget->m_nIndex == m_nLastIndex) {
        m_btnToFront->EnableButton(false);
        m_btnForward->EnableButton(false);
    }
}

void FloatDlg::MoveSelectionTo(int nTo)
{
    if (!m_pOwnerCanvas)
        return;
    CardDocument& doc = m_pOwnerCanvas->m_doc;
    TheData* pSelected = doc.SelectedObject();
    if (!pSelected)
        return;
    doc.m_pUndo->BeginEdit(UNDO_ORDER, pSelected);
    m_pOwnerCanvas->Restack(doc.m_nSelected, nTo, 1);
    doc.m_pUndo->EndEdit();
    UpdateOrderButtons();
}

void FloatDlg::OnToFront()
{
    if (m_pOwnerCanvas)
        MoveSelectionTo(int(m_pOwnerCanvas->m_doc.m_vecObjects.size()) - 1);
}

void FloatDlg::OnForward()
{
    if (m_pOwnerCanvas)
        MoveSelectionTo(m_pOwnerCanvas->m_doc.m_nSelected + 1);
}

void FloatDlg::OnBackward()
{
    if (m_pOwnerCanvas)
        MoveSelectionTo(m_pOwnerCanvas->m_doc.m_nSelected - 1);
}

void FloatDlg::OnToBack()
{
    MoveSelectionTo(0);
}

void FloatDlg::OnDelete()
{
    if (!m_pOwnerCanvas || !m_pTarget)
        return;
    CUndoHistory& undo = *m_pOwnerCanvas->m_doc.m_pUndo;
    undo.BeginEdit(UNDO_DELETE, m_pTarget);
    m_pTarget->m_bDeleted = 1;
    m_pOwnerCanvas->Deselect();
    undo.EndEdit();
}

void FloatDlg::OnDock()
{
    m_bDocked = !m_bDocked;
}

void FloatDlg::OnDialRotate(qintptr lParam)
{
    if (!m_pOwnerCanvas || !m_pTarget)
        return;
    CUndoHistory& undo = *m_pOwnerCanvas->m_doc.m_pUndo;
    switch (lParam) {
    case 1:
        undo.BeginEdit(m_bObjectMode ? UNDO_ROTATE : UNDO_PHOTO_ROTATE, m_pTarget);
        break;
    case 2:
        m_pTarget->m_dAngleDelta = m_pDial->m_dDelta;
        RepaintCanvas();
        break;
    case 3:
        // The history records the pending delta, so it must see it before the angle takes it in.
        undo.EndEdit();
        m_pTarget->CommitAngle(m_bObjectMode);
        if (!m_bObjectMode)
            m_pTarget->RebuildImage();
        RepaintCanvas();
        m_pOwnerCanvas->PlaceFloatBar();
        break;
    default:
        break;
    }
}

void FloatDlg::OnDialDrag(qintptr wParam, qintptr lParam)
{
    if (!m_pOwnerCanvas || !m_pTarget)
        return;
    CUndoHistory& undo = *m_pOwnerCanvas->m_doc.m_pUndo;
    switch (lParam) {
    case 1:
        if (m_bObjectMode) {
            undo.BeginEdit(UNDO_RESIZE, m_pTarget);
            m_pTarget->StorePhotoCrop(1);
        } else {
            undo.BeginEdit(UNDO_PHOTO_RESIZE, m_pTarget);
        }
        break;
    case 2:
        m_pTarget->ResizeBy(int(wParam), m_bObjectMode);
        RepaintCanvas();
        break;
    case 3:
        if (m_bObjectMode)
            m_pTarget->StorePhotoCrop(0);
        m_pTarget->RebuildImage();
        undo.EndEdit();
        RepaintCanvas();
        m_pOwnerCanvas->PlaceFloatBar();
        break;
    default:
        break;
    }
}

void FloatDlg::RepaintCanvas()
{
    if (m_pOwnerCanvas)
        m_pOwnerCanvas->repaint();
}

QImage FloatDlg::RenderBackground(qreal dRatio) const
{
    QImage buffer = NewBackBuffer(size(), dRatio);
    if (buffer.isNull())
        return buffer;
    buffer.fill(Qt::transparent);
    QPainter painter(&buffer);
    ApplyQuality(painter);
    painter.fillPath(Shape(), QColor::fromRgba(kBackground));
    return buffer;
}

QPainterPath FloatDlg::Shape() const
{
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), kCornerDiameter / 2, kCornerDiameter / 2);
    return shape;
}

bool FloatDlg::event(QEvent* pEvent)
{
    const int nType = int(pEvent->type());
    if (nType == WM_DIAL_ROTATE || nType == WM_DIAL_DRAG) {
        auto* pMessage = static_cast<AppMessage*>(pEvent);
        if (nType == WM_DIAL_ROTATE)
            OnDialRotate(pMessage->m_lParam);
        else
            OnDialDrag(pMessage->m_wParam, pMessage->m_lParam);
        pMessage->m_nResult = 0;
        return true;
    }
    return QWidget::event(pEvent);
}

void FloatDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, RenderBackground(devicePixelRatioF()));
}

void FloatDlg::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton)
        return;
    m_bMoving = 1;
    m_ptMoveOffset = pEvent->position().toPoint();
}

void FloatDlg::mouseMoveEvent(QMouseEvent* pEvent)
{
    if (!m_bMoving || !parentWidget())
        return;
    // Dragged by its background it follows the pointer, within the area the canvas keeps it in.
    const QPoint ptTopLeft = mapToParent(pEvent->position().toPoint()) - m_ptMoveOffset;
    const QRect rcArea = m_pOwnerCanvas ? m_pOwnerCanvas->FloatBarArea() : parentWidget()->rect();
    move(KeepInside(QRect(ptTopLeft, size()), rcArea).topLeft());
}

void FloatDlg::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton)
        m_bMoving = 0;
}
