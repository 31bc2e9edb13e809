#include "canvas/canvas.h"

#include <algorithm>

#include <QPainter>
#include <QResizeEvent>
#include <QTransform>

#include "document/cardfit.h"
#include "document/thedata.h"
#include "document/undohistory.h"
#include "platform/imageio.h"
#include "platform/messages.h"
#include "platform/quality.h"
#include "render/cardimage.h"

namespace {

constexpr QRgb kSelectionColour = 0xFF00C800;

// Adds a rotation of the rectangle about its centre: move the centre to the origin, turn, move back.
QTransform RotationAbout(const QRectF& rc, double dAngle)
{
    const QPointF centre = rc.center();
    QTransform matrix;
    matrix.translate(centre.x(), centre.y());
    matrix.rotate(dAngle);
    matrix.translate(-centre.x(), -centre.y());
    return matrix;
}

void DrawStretched(QPainter& painter, const std::unique_ptr<QImage>& pImage, const QRect& rcTarget)
{
    if (pImage && !pImage->isNull())
        painter.drawImage(rcTarget, *pImage);
}

// A transparent 32-bit ARGB bitmap of the given size; null for an empty size.
std::unique_ptr<QImage> NewLayer(QSize size)
{
    if (size.isEmpty())
        return nullptr;
    auto pLayer = std::make_unique<QImage>(size, QImage::Format_ARGB32_Premultiplied);
    if (pLayer->isNull())
        return nullptr;
    pLayer->fill(Qt::transparent);
    return pLayer;
}

} // namespace

QSize DisplayCopySize(QSize szPicture)
{
    const int w = szPicture.width();
    const int h = szPicture.height();
    if (w <= 0 || h <= 0 || (w <= kWorkingSide && h <= kWorkingSide))
        return szPicture;
    if (w >= h)
        return QSize(int(double(w) / h * kWorkingSide), kWorkingSide);
    return QSize(kWorkingSide, int(double(h) / w * kWorkingSide));
}

Canvas::Canvas(QWidget* pParent)
    : QWidget(pParent)
    , m_doc(this)
{
    // Every paint covers the whole client area from the back buffer: no background erasing.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_doc.m_szClient = size();
}

Canvas::~Canvas() = default;

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
        m_doc.m_pUndo->m_nOrderFrom = nFrom;
        m_doc.m_pUndo->m_nOrderTo = nTo;
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
    LoadBackgroundCopy();
    RememberClient();
    FitTemplateObjects(m_doc, strBackground);
    repaint();
}

void Canvas::FitProject(const QString& strBackground, int nSavedWidth)
{
    m_doc.m_strBackground = strBackground;
    LoadBackgroundCopy();
    RememberClient();
    FitProjectObjects(m_doc, strBackground, nSavedWidth);
    repaint();
}

void Canvas::RescaleToClient()
{
    // Nothing is scaled, and the old size stays remembered, for an empty card or an empty size.
    if (!RescaleObjects(m_doc, m_rcClient.size(), size()))
        return;
    RememberClient();
    if (m_bLayersValid)
        BuildLayers();
}

void Canvas::ClearCard()
{
    m_pBackground.reset();
    Deselect();
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
    m_pLayerBelow = NewLayer(size());
    m_pLayerAbove = NewLayer(size());
    const int nSelected = m_doc.m_nSelected;
    const int nCount = int(m_doc.m_vecObjects.size());
    if (m_pLayerBelow) {
        QPainter painter(m_pLayerBelow.get());
        ApplyQuality(painter);
        DrawStretched(painter, m_pBackground, rect());
        for (int i = 0; i < std::min(nSelected, nCount); ++i)
            m_doc.m_vecObjects[size_t(i)]->Paint(painter);
    }
    if (m_pLayerAbove) {
        QPainter painter(m_pLayerAbove.get());
        ApplyQuality(painter);
        for (int i = std::max(nSelected + 1, 0); i < nCount; ++i)
            m_doc.m_vecObjects[size_t(i)]->Paint(painter);
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
    m_bPhotoEdit = 0;
    BuildLayers();
    update();
}

void Canvas::Deselect()
{
    if (m_doc.m_nSelected != -1) {
        m_doc.m_nSelected = -1;
        m_bPhotoEdit = 0;
        m_bLayersValid = 0;
        update();
    }
    SendAppMessage(parent(), WM_CANVAS_SELECT, 0, 0);
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
            pSelected->Paint(painter);
        DrawStretched(painter, m_pLayerAbove, rcClient);
    } else {
        DrawStretched(painter, m_pBackground, rcClient);
        for (const auto& pObject : m_doc.m_vecObjects) {
            if (bPhotoEdit && pObject.get() == pSelected)
                PaintPhotoEdit(painter, *pObject);
            else
                pObject->Paint(painter);
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
    QImage buffer(size(), QImage::Format_ARGB32_Premultiplied);
    if (buffer.isNull())
        return;
    buffer.fill(Qt::white);
    {
        QPainter painter(&buffer);
        PaintCanvas(painter);
    }
    QPainter painter(this);
    painter.drawImage(0, 0, buffer);
}

void Canvas::resizeEvent(QResizeEvent* pEvent)
{
    m_doc.m_szClient = pEvent->size();
    QWidget::resizeEvent(pEvent);
}

void Canvas::LoadBackgroundCopy()
{
    m_pBackground.reset();
    const QSize szFile = ReadPictureSize(m_doc.m_strBackground);
    if (!szFile.isValid())
        return;
    const QSize szCopy = DisplayCopySize(szFile);
    const QImage picture = ReadPicture(m_doc.m_strBackground, szCopy);
    if (picture.isNull())
        return;
    if (picture.size() == szCopy) {
        m_pBackground = std::make_unique<QImage>(picture.convertToFormat(QImage::Format_ARGB32_Premultiplied));
        return;
    }
    // Pictures smaller than the copy are enlarged by drawing them into a new bitmap.
    m_pBackground = NewLayer(szCopy);
    if (!m_pBackground)
        return;
    QPainter painter(m_pBackground.get());
    ApplyQuality(painter);
    painter.drawImage(QRect(QPoint(0, 0), szCopy), picture);
}

void Canvas::RememberClient()
{
    m_rcClient = rect();
    m_doc.m_szClient = size();
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
