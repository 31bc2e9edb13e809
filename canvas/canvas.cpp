#include "canvas/canvas.h"

#include <algorithm>
#include <cmath>

#include <QDragEnterEvent>
#include <QFileDialog>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QTransform>
#include <QUrl>

#include "canvas/adjustdlg.h"
#include "canvas/floatdlg.h"
#include "document/carddrops.h"
#include "document/cardfit.h"
#include "document/thedata.h"
#include "document/undohistory.h"
#include "platform/messages.h"
#include "platform/pictureext.h"
#include "platform/quality.h"
#include "render/cardimage.h"
#include "templates/cardloader.h"

Canvas* g_pCanvas = nullptr;
TheData* g_pCurrentText = nullptr;

namespace {

constexpr QRgb kSelectionColour = 0xFF00C800;
constexpr int kFloatBarHeight = 60;
// Gap between an object's bottom edge and its toolbar.
constexpr int kFloatBarGap = 12;
// Part of a nudged rectangle that always stays inside the canvas.
constexpr float kNudgeMargin = 10;
constexpr int kDeleteKey = 5;

// Conversion toward zero that stays finite and far inside the int range whatever the geometry holds,
// so that screen arithmetic on the result cannot overflow.
int TruncToInt(double d)
{
    constexpr double dLimit = 1 << 28;
    if (!std::isfinite(d))
        return 0;
    return int(std::trunc(std::clamp(d, -dLimit, dLimit)));
}

bool HasPicture(const std::unique_ptr<QImage>& pImage)
{
    return pImage && !pImage->isNull();
}

// The turn of the rectangle about its centre.
QTransform RotationAbout(const QRectF& rc, double dAngle)
{
    QTransform matrix;
    RotateAbout(matrix, rc, dAngle);
    return matrix;
}

void DrawStretched(QPainter& painter, const std::unique_ptr<QImage>& pImage, const QRect& rcTarget)
{
    if (pImage && !pImage->isNull())
        painter.drawImage(rcTarget, *pImage);
}

// A transparent 32-bit ARGB bitmap of the given logical size at the device pixel ratio; null for an
// empty size.
std::unique_ptr<QImage> NewLayer(QSize size, qreal dRatio)
{
    auto pLayer = std::make_unique<QImage>(NewBackBuffer(size, dRatio));
    if (pLayer->isNull())
        return nullptr;
    pLayer->fill(Qt::transparent);
    return pLayer;
}

// The hint inside an empty photo placeholder, and the smallest placeholder that shows it.
const QString kDropHint = QStringLiteral("Drop a photo here");
constexpr float kHintMinWidth = 60;
constexpr float kHintMinHeight = 24;

// The local files a file manager drags, in its order; web addresses and the like are not files.
QStringList LocalFiles(const QMimeData& data)
{
    QStringList vecFiles;
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile())
            vecFiles.append(url.toLocalFile());
    }
    return vecFiles;
}

QString PickPhotoFile(QWidget* pParent)
{
    return QFileDialog::getOpenFileName(pParent, QString(), QString(), PictureFileFilter());
}

} // namespace

QSize DisplayCopySize(QSize szPicture)
{
    return WorkingCopySize(szPicture);
}

QRect KeepInside(const QRect& rc, const QRect& rcArea)
{
    QRect rcInside = rc;
    rcInside.moveLeft(std::max(rcArea.left(), std::min(rc.left(), rcArea.right() + 1 - rc.width())));
    rcInside.moveTop(std::max(rcArea.top(), std::min(rc.top(), rcArea.bottom() + 1 - rc.height())));
    return rcInside;
}

QRect FloatBarGeometry(const RectF& rcObject, QPoint ptCanvas, const QRect& rcMainWindow, int nBarWidth)
{
    int left = TruncToInt(rcObject.X);
    const int top = TruncToInt(rcObject.Y);
    int right = TruncToInt(rcObject.Width + left);
    int bottom = TruncToInt(rcObject.Height + top);
    const int nWidth = right - left;
    left += ptCanvas.x();
    right += ptCanvas.x();
    bottom += ptCanvas.y() + kFloatBarGap;

    const int nMainRight = rcMainWindow.x() + rcMainWindow.width();
    const int nMainBottom = rcMainWindow.y() + rcMainWindow.height();
    if (bottom > nMainBottom)
        bottom = nMainBottom - kFloatBarHeight;
    if (left < rcMainWindow.x()) {
        left = rcMainWindow.x() + 10;
        right = left + nWidth;
    }
    if (right > nMainRight) {
        right = nMainRight - 10;
        left = right - nWidth;
    }
    return QRect((left + right) / 2 - nBarWidth / 2, bottom, nBarWidth, kFloatBarHeight);
}

Canvas::Canvas(QWidget* pParent)
    : QWidget(pParent)
    , m_doc(this, pParent)
{
    // Every paint covers the whole client area from the back buffer: no background erasing.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    setAcceptDrops(true);
    m_doc.m_szClient = size();
    m_doc.m_dDisplayRatio = devicePixelRatioF();
    m_pOverlay = new AdjustDlg(this);
    m_fnPickPhoto = [this] { return PickPhotoFile(this); };
    // The toolbar is a child of the main window, so that it can stand below an object at the card's
    // edge; a canvas of its own holds it itself.
    m_pFloatBar = std::make_unique<FloatDlg>(pParent ? pParent : this);
    m_pFloatBar->m_pOwnerCanvas = this;
}

Canvas::~Canvas()
{
    if (g_pCanvas == this)
        g_pCanvas = nullptr;
    ForgetCurrentText();
}

TheData* Canvas::AddObject(std::unique_ptr<TheData> pObject, int bRecord)
{
    return m_doc.AddObject(std::move(pObject), bRecord);
}

void Canvas::Restack(int nFrom, int nTo, int bRecord)
{
    const int nCount = int(m_doc.m_vecObjects.size());
    if (nFrom < 0 || nTo < 0 || nFrom >= nCount || nTo >= nCount)
        return;
    m_doc.MoveInStack(nFrom, nTo);
    if (bRecord) {
        m_doc.m_pUndo->SetOrder(nFrom, nTo);
        m_doc.m_nSelected = nTo;
        BuildLayers();
    } else if (m_bLayersValid) {
        // The selection keeps its index, but the objects around it changed places.
        BuildLayers();
    }
    update();
}

void Canvas::FitTemplate(const QString& strBackground)
{
    m_doc.m_strBackground = strBackground;
    RememberClient();
    FitTemplateObjects(m_doc, strBackground);
    ShowFittedCard();
}

void Canvas::FitProject(const QString& strBackground, int nSavedWidth)
{
    m_doc.m_strBackground = strBackground;
    RememberClient();
    FitProjectObjects(m_doc, strBackground, nSavedWidth);
    ShowFittedCard();
}

void Canvas::PlaceCard(LoadedCard&& card)
{
    // A background that cannot be read is still the card's, as with FitTemplate.
    m_doc.m_strBackground = card.strBackground;
    RememberClient();
    ::PlaceCard(m_doc, std::move(card));
    ShowFittedCard();
}

void Canvas::ShowFittedCard()
{
    LoadBackgroundCopy();
    m_doc.RebuildImages();
    repaint();
}

void Canvas::RescaleToClient()
{
    // Nothing is scaled, and the old size stays remembered, for an empty card or an empty size.
    if (!RescaleObjects(m_doc, m_rcClient.size(), size()))
        return;
    RememberClient();
    m_doc.RebuildImages();
    if (m_bLayersValid)
        BuildLayers();
}

void Canvas::ClearCard()
{
    m_pBackground.reset();
    Deselect();
    ForgetCurrentText();
    m_doc.ClearObjects();
    SendAppMessage(parent(), WM_UNDOSTATE, -1, -1);
}

void Canvas::RenderCardImage(int nWidth, int nHeight)
{
    m_pSnapshot.reset();
    QImage snapshot = RenderCardBitmap(m_doc, nWidth, nHeight);
    if (!snapshot.isNull())
        m_pSnapshot = std::make_unique<QImage>(std::move(snapshot));
}

void Canvas::BuildLayers()
{
    m_pLayerBelow = NewLayer(size(), devicePixelRatioF());
    m_pLayerAbove = NewLayer(size(), devicePixelRatioF());
    const int nSelected = m_doc.m_nSelected;
    const int nCount = int(m_doc.m_vecObjects.size());
    if (m_pLayerBelow) {
        QPainter painter(m_pLayerBelow.get());
        ApplyQuality(painter);
        DrawStretched(painter, m_pBackground, rect());
        for (int i = 0; i < std::min(nSelected, nCount); ++i)
            PaintObject(painter, *m_doc.m_vecObjects[size_t(i)]);
    }
    if (m_pLayerAbove) {
        QPainter painter(m_pLayerAbove.get());
        ApplyQuality(painter);
        for (int i = std::max(nSelected + 1, 0); i < nCount; ++i)
            PaintObject(painter, *m_doc.m_vecObjects[size_t(i)]);
    }
    m_bLayersValid = 1;
}

void Canvas::Select(int nIndex)
{
    if (nIndex < 0 || nIndex >= int(m_doc.m_vecObjects.size())) {
        Deselect();
        return;
    }
    m_doc.m_nSelected = nIndex;
    ShowFloatBar(1, 1);
    BuildLayers();
    update();
}

void Canvas::Deselect()
{
    m_pOverlay->hide();
    if (m_doc.m_nSelected != -1) {
        ShowFloatBar(0, 1);
        m_bLayersValid = 0;
        g_pCurrentText = nullptr;
        update();
    }
    SendAppMessage(parentWidget(), WM_CANVAS_SELECT, 0, 0);
}

void Canvas::ShowFloatBar(int bShow, int bObjectMode)
{
    m_bPhotoEdit = bObjectMode ? 0 : 1;
    if (!bShow) {
        m_doc.m_nSelected = -1;
        if (m_pFloatBar)
            m_pFloatBar->hide();
        return;
    }
    TheData* pSelected = m_doc.SelectedObject();
    if (!m_pFloatBar || !pSelected)
        return;
    m_pFloatBar->SetTarget(bObjectMode, pSelected, int(m_doc.m_vecObjects.size()) - 1);
    PlaceFloatBar();
    m_pFloatBar->show();
    m_pFloatBar->raise();
}

void Canvas::PlaceFloatBar()
{
    const TheData* pSelected = m_doc.SelectedObject();
    if (!m_pFloatBar || !pSelected || m_pFloatBar->m_bDocked)
        return;
    const QRect rcArea = FloatBarArea();
    const QPoint ptCanvas = m_pFloatBar->parentWidget() == this ? QPoint(0, 0) : pos();
    m_pFloatBar->setGeometry(
        KeepInside(FloatBarGeometry(pSelected->m_rcObject, ptCanvas, rcArea, m_pFloatBar->width()), rcArea));
}

void Canvas::SetFloatBarArea(const QRect& rcArea)
{
    m_rcFloatBarArea = rcArea;
}

QRect Canvas::FloatBarArea() const
{
    const QWidget* pHolder = m_pFloatBar ? m_pFloatBar->parentWidget() : nullptr;
    if (!pHolder || pHolder == this)
        return rect();
    return m_rcFloatBarArea.isEmpty() ? pHolder->rect() : m_rcFloatBarArea;
}

void Canvas::NudgeSelection(int nDirection)
{
    TheData* pSelected = m_doc.SelectedObject();
    if (!pSelected)
        return;
    CUndoHistory& undo = *m_doc.m_pUndo;
    if (nDirection == kDeleteKey) {
        if (m_bPhotoEdit)
            return;
        undo.BeginEdit(UNDO_DELETE, pSelected);
        pSelected->m_bDeleted = 1;
        undo.EndEdit();
        Deselect();
        return;
    }
    if (nDirection < 1 || nDirection > 4 || !CanNudge(nDirection))
        return;
    static constexpr int kDx[] = {-1, 0, 1, 0};
    static constexpr int kDy[] = {0, -1, 0, 1};
    const int dx = kDx[nDirection - 1];
    const int dy = kDy[nDirection - 1];
    if (m_bPhotoEdit) {
        undo.BeginEdit(UNDO_PHOTO_MOVE, pSelected);
        pSelected->MoveBy(dx, dy, 0);
        pSelected->RebuildImage();
    } else {
        undo.BeginEdit(UNDO_MOVE, pSelected);
        pSelected->MoveBy(dx, dy, 1);
    }
    undo.EndEdit();
    PlaceFloatBar();
    update();
}

bool Canvas::CanNudge(int nDirection) const
{
    const TheData* pSelected = m_doc.SelectedObject();
    if (!pSelected)
        return false;
    const RectF& rc = m_bPhotoEdit ? pSelected->m_rcPhoto : pSelected->m_rcObject;
    const float W = float(width());
    const float H = float(height());
    switch (nDirection) {
    case 1:
        return !(rc.X + rc.Width <= kNudgeMargin);
    case 2:
        return !(rc.Y + rc.Height <= kNudgeMargin);
    case 3:
        return !(W - rc.X <= kNudgeMargin);
    case 4:
        return !(H - rc.Y <= kNudgeMargin);
    default:
        return true;
    }
}

TheData* Canvas::AddTextObject(std::unique_ptr<TheData> pText)
{
    if (!pText)
        return nullptr;
    pText->PlaceNew(std::max(width(), height()), 0, 0);
    TheData* pAdded = AddObject(std::move(pText), 1);
    g_pCurrentText = pAdded;
    // The new text is topmost at (32, 32); in photo-edit mode the press would take hold of the photo
    // under it instead of selecting the text.
    m_bPhotoEdit = 0;
    OnLButtonDown(QPoint(32, 32));
    update();
    return pAdded;
}

void Canvas::OnLButtonDown(QPoint pt)
{
    setFocus(Qt::MouseFocusReason);
    const bool bWasSelected = m_doc.m_nSelected != -1;
    m_ptLast = pt;
    if (TheData* pSelected = m_doc.SelectedObject(); pSelected && m_bPhotoEdit) {
        if (m_doc.HitPhoto(pt.x(), pt.y())) {
            m_doc.m_pUndo->BeginEdit(UNDO_PHOTO_MOVE, pSelected);
            SendAppMessage(parentWidget(), WM_CANVAS_SELECT, 0, 2);
            return;
        }
        pSelected->RebuildImage();
    }
    const int nHit = m_doc.HitTest(pt.x(), pt.y());
    if (nHit >= 0 && nHit < int(m_doc.m_vecObjects.size())) {
        TheData* pHit = m_doc.m_vecObjects[size_t(nHit)].get();
        m_doc.m_pUndo->BeginEdit(UNDO_MOVE, pHit);
        Select(nHit);
        SendAppMessage(parentWidget(), WM_CANVAS_SELECT, 0, pHit->m_nType == OBJ_TEXT ? 1 : 2);
    } else if (bWasSelected) {
        Deselect();
    }
}

void Canvas::OnMouseMove(QPoint pt, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    TheData* pSelected = m_doc.SelectedObject();
    if (buttons != Qt::LeftButton || (modifiers & (Qt::ShiftModifier | Qt::ControlModifier)) || !pSelected)
        return;
    setCursor(Qt::SizeAllCursor);
    pSelected->MoveBy(pt.x() - m_ptLast.x(), pt.y() - m_ptLast.y(), m_bPhotoEdit ? 0 : 1);
    m_ptLast = pt;
    repaint();
}

void Canvas::OnLButtonUp()
{
    SendAppMessage(parentWidget(), WM_CANVAS_HOTKEYS, 0, 1);
    unsetCursor();
    TheData* pSelected = m_doc.SelectedObject();
    if (!pSelected)
        return;
    m_doc.m_pUndo->EndEdit();
    if (m_bPhotoEdit)
        pSelected->RebuildImage();
    // The toolbar moved out of the way while the object moved; it stands beside it again.
    PlaceFloatBar();
}

void Canvas::OnLButtonDblClk()
{
    TheData* pSelected = m_doc.SelectedObject();
    if (pSelected && pSelected->m_nType == OBJ_PHOTO && !HasPicture(pSelected->m_pPhoto) && !m_bPhotoEdit) {
        const QString strPath = m_fnPickPhoto ? m_fnPickPhoto() : QString();
        if (strPath.isEmpty())
            return;
        m_doc.m_pUndo->BeginEdit(UNDO_PHOTO, pSelected);
        pSelected->SetPhoto(strPath, 0, RectF(), RectF(), 0);
        m_doc.m_pUndo->EndEdit();
        BuildLayers();
        update();
        return;
    }
    if (!pSelected || !HasPicture(pSelected->m_pFrame) || !HasPicture(pSelected->m_pPhoto))
        return;
    if (m_pFloatBar)
        m_pFloatBar->hide();
    ShowFloatBar(1, 0);
    update();
}

void Canvas::PaintCanvas(QPainter& painter) const
{
    ApplyQuality(painter);
    const QRect rcClient = rect();
    const TheData* pSelected = m_doc.SelectedObject();
    const bool bPhotoEdit = m_bPhotoEdit && pSelected;

    if (m_bLayersValid) {
        DrawStretched(painter, m_pLayerBelow, rcClient);
        if (bPhotoEdit)
            PaintPhotoEdit(painter, *pSelected);
        else if (pSelected)
            PaintObject(painter, *pSelected);
        DrawStretched(painter, m_pLayerAbove, rcClient);
    } else {
        DrawStretched(painter, m_pBackground, rcClient);
        for (const auto& pObject : m_doc.m_vecObjects) {
            if (bPhotoEdit && pObject.get() == pSelected)
                PaintPhotoEdit(painter, *pObject);
            else
                PaintObject(painter, *pObject);
        }
    }
    if (pSelected && !bPhotoEdit)
        PaintSelectionOutline(painter, *pSelected);
}

bool Canvas::event(QEvent* pEvent)
{
    if (pEvent->type() == static_cast<QEvent::Type>(WM_RESTACK)) {
        auto* pMessage = static_cast<AppMessage*>(pEvent);
        Restack(int(pMessage->m_wParam), int(pMessage->m_lParam), 0);
        pMessage->m_nResult = 0;
        return true;
    }
    return QWidget::event(pEvent);
}

void Canvas::paintEvent(QPaintEvent*)
{
    // On a screen of another ratio the pictures are remade for its pixels.
    if (devicePixelRatioF() != m_doc.m_dDisplayRatio) {
        m_doc.m_dDisplayRatio = devicePixelRatioF();
        LoadBackgroundCopy();
        m_doc.RebuildImages();
        if (m_bLayersValid)
            BuildLayers();
    }
    QImage buffer = NewBackBuffer(size(), devicePixelRatioF());
    if (buffer.isNull())
        return;
    buffer.fill(Qt::white);
    {
        QPainter painter(&buffer);
        PaintCanvas(painter);
    }
    QPainter painter(this);
    painter.drawImage(0, 0, buffer);
    if (hasFocus())
        PaintFocusFrame(painter);
}

void Canvas::PaintFocusFrame(QPainter& painter) const
{
    // Two pixels in the desktop's highlight colour along the edge: the keys act on the card.
    QPen pen(palette().color(QPalette::Highlight), 2);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

void Canvas::focusInEvent(QFocusEvent* pEvent)
{
    QWidget::focusInEvent(pEvent);
    update();
}

void Canvas::resizeEvent(QResizeEvent* pEvent)
{
    m_doc.m_szClient = pEvent->size();
    QWidget::resizeEvent(pEvent);
}

void Canvas::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton)
        OnLButtonDown(pEvent->position().toPoint());
}

void Canvas::mouseMoveEvent(QMouseEvent* pEvent)
{
    OnMouseMove(pEvent->position().toPoint(), pEvent->buttons(), pEvent->modifiers());
}

void Canvas::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton)
        OnLButtonUp();
}

void Canvas::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    // QWidget's default would handle the double-click as a second press.
    if (pEvent->button() == Qt::LeftButton)
        OnLButtonDblClk();
}

void Canvas::focusOutEvent(QFocusEvent* pEvent)
{
    QWidget::focusOutEvent(pEvent);
    update();
    SendAppMessage(parentWidget(), WM_CANVAS_HOTKEYS, 0, 0);
}

int Canvas::OnCanvasDragEnter(const QMimeData* pData)
{
    Deselect();
    m_vecDroppedFiles.clear();
    m_strDragText.clear();
    m_nDropEffect = 0;
    if (pData && pData->hasUrls()) {
        // Files from the file manager: the pictures among them are dropped as photos.
        m_vecDroppedFiles = AcceptedDroppedFiles(LocalFiles(*pData));
        if (!m_vecDroppedFiles.isEmpty()) {
            m_nDropEffect = 2;
            m_chDragKind = 'p';
            m_vecDragPhotos = m_vecDroppedFiles;
            m_nDragCount = int(m_vecDroppedFiles.size());
        }
    } else if (pData && pData->hasText()) {
        m_nDropEffect = 2;
        m_strDragText = pData->text();
        ParseDragText();
    }
    return m_nDropEffect;
}

int Canvas::OnCanvasDragOver(QPoint pt)
{
    if (m_nDropEffect == 0)
        return 0;
    m_nDropTarget = m_doc.HitTest(pt.x(), pt.y());
    const TheData* pHit = m_nDropTarget >= 0 && m_nDropTarget < int(m_doc.m_vecObjects.size())
        ? m_doc.m_vecObjects[size_t(m_nDropTarget)].get()
        : nullptr;
    // Only one photo, frame or mask changes the photo object under it; other drags leave the
    // outline as it was over an object.
    const bool bChangesTarget = m_chDragKind != 0 && m_chDragKind != 'e' && m_nDragCount == 1;
    if (!pHit || (bChangesTarget && pHit->m_nType != OBJ_PHOTO))
        m_pOverlay->hide();
    else if (bChangesTarget && (m_pOverlay->isHidden() || m_pOverlay->m_pTarget != pHit))
        // Shown once per target: the outline stays put while the pointer moves over the same object.
        m_pOverlay->ShowOver(m_doc.m_vecObjects[size_t(m_nDropTarget)].get());
    return m_nDropEffect;
}

void Canvas::OnCanvasDrop(QPoint pt)
{
    if (m_nDropEffect == 0) {
        // A refused drop ends the drag too.
        m_pOverlay->hide();
        return;
    }
    if (!m_vecDroppedFiles.isEmpty()) {
        AddDroppedFiles(pt);
        return;
    }
    DragData drag;
    drag.chKind = m_chDragKind;
    drag.nDragCount = m_nDragCount;
    drag.vecPhotos = m_vecDragPhotos;
    drag.strPath = m_strDragPath;
    m_nDropTarget = DropTarget(m_doc, drag, pt);
    DropOnCard(m_doc, drag, pt, std::max(width(), height()));
    EndDrop(m_chDragKind != 'e');
}

void Canvas::OnCanvasDragLeave()
{
    // The drag went elsewhere or was cancelled (Escape ends it with a leave): no drop will hide the
    // outline.
    m_nDropEffect = 0;
    m_pOverlay->hide();
}

void Canvas::ParseDragText()
{
    const DragData drag = ParseDragPayload(m_strDragText);
    m_chDragKind = drag.chKind;
    m_nDragCount = drag.nDragCount;
    m_vecDragPhotos = drag.vecPhotos;
    m_strDragPath = drag.strPath;
}

void Canvas::AddDroppedFiles(QPoint pt)
{
    AddDroppedFilesToCard(m_doc, m_vecDroppedFiles, pt, std::max(width(), height()));
    EndDrop(true);
}

void Canvas::EndDrop(bool bHideOverlay)
{
    if (bHideOverlay)
        m_pOverlay->hide();
    repaint();
}

void Canvas::dragEnterEvent(QDragEnterEvent* pEvent)
{
    if (!OnCanvasDragEnter(pEvent->mimeData()) || (m_vecDroppedFiles.isEmpty() && m_chDragKind == 0)) {
        // Text that is no drag of ours drops nothing: refused, so its program never removes it.
        pEvent->ignore();
        return;
    }
    // Files are only ever copied: a file manager deletes the files of a move.
    pEvent->setDropAction(m_vecDroppedFiles.isEmpty() ? Qt::MoveAction : Qt::CopyAction);
    pEvent->accept();
}

void Canvas::dragMoveEvent(QDragMoveEvent* pEvent)
{
    if (!OnCanvasDragOver(pEvent->position().toPoint())) {
        pEvent->ignore();
        return;
    }
    pEvent->setDropAction(m_vecDroppedFiles.isEmpty() ? Qt::MoveAction : Qt::CopyAction);
    pEvent->accept();
}

void Canvas::dragLeaveEvent(QDragLeaveEvent* pEvent)
{
    OnCanvasDragLeave();
    pEvent->accept();
}

void Canvas::dropEvent(QDropEvent* pEvent)
{
    const bool bFiles = !m_vecDroppedFiles.isEmpty();
    OnCanvasDrop(pEvent->position().toPoint());
    pEvent->setDropAction(bFiles ? Qt::CopyAction : Qt::MoveAction);
    pEvent->accept();
}

void Canvas::LoadBackgroundCopy()
{
    m_pBackground.reset();
    // The background fills the canvas: its copy is as fine as the screen's pixels.
    QImage copy = ReadWorkingCopy(m_doc.m_strBackground, nullptr, int(std::ceil(kWorkingSide * devicePixelRatioF())));
    if (!copy.isNull())
        m_pBackground = std::make_unique<QImage>(std::move(copy));
}

void Canvas::RememberClient()
{
    m_rcClient = rect();
    m_doc.m_szClient = size();
    m_doc.m_dDisplayRatio = devicePixelRatioF();
}

void Canvas::ForgetCurrentText()
{
    for (const auto& pObject : m_doc.m_vecObjects) {
        if (pObject.get() == g_pCurrentText)
            g_pCurrentText = nullptr;
    }
}

void Canvas::PaintPhotoEdit(QPainter& painter, const TheData& obj) const
{
    if (obj.m_pPhoto) {
        const QRectF rcPhoto = obj.m_rcPhoto.toQRectF();
        painter.setWorldTransform(RotationAbout(rcPhoto, obj.m_dAngle + obj.m_dPhotoAngle + obj.m_dAngleDelta));
        painter.drawImage(rcPhoto, *obj.m_pPhoto);
    }
    if (obj.m_pFrame) {
        const QRectF rcObject = obj.m_rcObject.toQRectF();
        painter.setWorldTransform(RotationAbout(rcObject, obj.m_dAngle));
        painter.drawImage(rcObject, *obj.m_pFrame);
    }
    painter.resetTransform();
}

void Canvas::PaintObject(QPainter& painter, const TheData& obj) const
{
    obj.Paint(painter);
    const RectF& rc = obj.m_rcObject;
    if (obj.m_bDeleted || obj.m_nType != OBJ_PHOTO || HasPicture(obj.m_pPhoto) || rc.Width < kHintMinWidth
        || rc.Height < kHintMinHeight)
        return;
    const QRectF rcObject = rc.toQRectF();
    painter.save();
    painter.setWorldTransform(RotationAbout(rcObject, obj.m_dAngle + obj.m_dAngleDelta));
    QFont font = painter.font();
    font.setPixelSize(std::clamp(int(rc.Width / 12), 10, 16));
    painter.setFont(font);
    const QRectF rcText = painter.boundingRect(rcObject, Qt::AlignCenter, kDropHint).adjusted(-6, -3, 6, 3);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 150));
    painter.drawRoundedRect(rcText, 4, 4);
    painter.setPen(QColor(60, 60, 70, 200));
    painter.drawText(rcObject, Qt::AlignCenter, kDropHint);
    painter.restore();
}

void Canvas::PaintSelectionOutline(QPainter& painter, const TheData& obj) const
{
    const QRectF rcObject = obj.m_rcObject.toQRectF();
    // Pixel centres lie at half coordinates: the half-pixel shift puts a one-pixel line on an
    // integer coordinate exactly onto one row or column of pixels.
    QTransform matrix = RotationAbout(rcObject, obj.m_dAngle + obj.m_dAngleDelta);
    matrix *= QTransform::fromTranslate(0.5, 0.5);
    painter.setWorldTransform(matrix);
    painter.setPen(QPen(QColor::fromRgba(kSelectionColour), 1, Qt::SolidLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rcObject);
    painter.resetTransform();
}
