// An object's display image for the canvas: the part of it the canvas shows, drawn from the working
// copies at the screen's pixel ratio and shared between objects that look the same.
#include <algorithm>
#include <cmath>
#include <memory>
#include <new>

#include <QPainter>
#include <QTransform>

#include "document/sharedpictures.h"
#include "document/thedata.h"
#include "platform/pictureops.h"
#include "platform/quality.h"

namespace {

// Display images past the pixel budget are made with at most this many pixels.
constexpr qint64 kReducedPixels = 64 * 64;
// No single display image is larger than this (the shown part of an object with no canvas).
constexpr qint64 kMaxBitmapPixels = qint64(1) << 26;

void DrawPicture(QPainter& painter, const std::unique_ptr<QImage>& pPicture, const QRectF& rc)
{
    if (pPicture)
        ::DrawPicture(painter, *pPicture, rc);
}

} // namespace

void TheData::SetCanvasSize(QSize szCanvas, qreal dRatio)
{
    m_szCanvas = szCanvas;
    m_dRatio = dRatio > 0 && std::isfinite(dRatio) ? dRatio : 1;
}

QSize TheData::WholeBitmapSize() const
{
    // Only the shown part is ever allocated, so the whole object may be far larger than any bitmap.
    constexpr double kLongestSide = 1 << 24;
    const double w = m_rcObject.Width * m_dRatio;
    const double h = m_rcObject.Height * m_dRatio;
    if (!std::isfinite(w) || !std::isfinite(h) || w < 1 || h < 1 || w > kLongestSide || h > kLongestSide)
        return QSize();
    return QSize(int(w), int(h));
}

void TheData::DropImage()
{
    m_pImage.reset();
    ForgetDisplayPicture(m_strImageKey);
    m_strImageKey.clear();
    m_rcShown = QRect();
    m_bImageCut = false;
}

QRect TheData::ShownPart(QSize szWhole) const
{
    const QRect rcWhole(QPoint(0, 0), szWhole);
    if (m_szCanvas.isEmpty())
        return rcWhole;
    // The canvas taken back into the unturned bitmap: the object's turn undone, its place and its
    // bitmap's scale (trunc(width) pixels across width) taken off.
    QTransform toCanvas;
    RotateAbout(toCanvas, m_rcObject.toQRectF(), m_dAngle + m_dAngleDelta);
    toCanvas.translate(m_rcObject.X, m_rcObject.Y);
    toCanvas.scale(m_rcObject.Width / szWhole.width(), m_rcObject.Height / szWhole.height());
    bool bInvertible = false;
    const QTransform fromCanvas = toCanvas.inverted(&bInvertible);
    if (!bInvertible)
        return rcWhole;
    // Cut in floating point first: far outside, the canvas's corners need not fit an int.
    const QRectF rcSeen = fromCanvas.mapRect(QRectF(QPointF(0, 0), QSizeF(m_szCanvas))) & QRectF(rcWhole);
    return rcSeen.isEmpty() ? QRect() : rcSeen.toAlignedRect() & rcWhole;
}

QTransform TheData::ShownTransform() const
{
    QTransform matrix;
    if (!m_pImage || m_rcShown.isEmpty())
        return matrix;
    matrix.scale(double(m_pImage->width()) / m_rcShown.width(), double(m_pImage->height()) / m_rcShown.height());
    matrix.translate(-m_rcShown.x(), -m_rcShown.y());
    return matrix;
}

QTransform TheData::ObjectToShown() const
{
    return QTransform::fromScale(m_dRatio, m_dRatio) * ShownTransform();
}

QString TheData::SharedImageKey() const
{
    // Elements and photo objects whose picture is not placed by hand look the same wherever their
    // paths and sizes are the same.
    const auto cacheKey = [](const std::unique_ptr<QImage>& p) { return QString::number(p ? p->cacheKey() : 0); };
    if (m_nType == OBJ_ELEMENT)
        return QLatin1String("element|") + FileStamp(m_strElement) + QLatin1Char('|') + m_strElement;
    if (m_nType != OBJ_PHOTO)
        return QString();
    switch (PhotoState()) {
    case PHOTO_FRAME_ONLY:
        return QLatin1String("frame|") + cacheKey(m_pFrame);
    case PHOTO_PLAIN:
    case PHOTO_MASKED:
        return QLatin1String("photo|") + cacheKey(m_pPhoto) + QLatin1Char('|') + m_strMask;
    case PHOTO_EMPTY:
        return QLatin1String("empty|") + m_strMask;
    default:
        return QString();
    }
}

void TheData::RebuildImage()
{
    DropImage();
    if (m_nType != OBJ_ELEMENT && m_nType != OBJ_PHOTO)
        return;
    const QSize szWhole = WholeBitmapSize();
    if (szWhole.isEmpty())
        return;
    const QRect rcShown = ShownPart(szWhole);
    m_bImageCut = rcShown != QRect(QPoint(0, 0), szWhole);
    if (rcShown.isEmpty())
        return;
    try {
        DrawImage(szWhole, rcShown);
    } catch (const std::bad_alloc&) {
        // The object is shown without its picture; the card stays usable.
        DropImage();
        m_bImageCut = true;
    }
}

void TheData::DrawImage(QSize szWhole, const QRect& rcShown)
{
    const qint64 nShown = qint64(rcShown.width()) * rcShown.height();
    const auto sizeKey = [&](QSize szImage) {
        return QStringLiteral("|%1x%2|%3,%4,%5x%6|%7x%8")
            .arg(szWhole.width())
            .arg(szWhole.height())
            .arg(rcShown.x())
            .arg(rcShown.y())
            .arg(rcShown.width())
            .arg(rcShown.height())
            .arg(szImage.width())
            .arg(szImage.height());
    };
    const QString strShared = SharedImageKey();
    // Another object may already show the same picture at this size.
    const auto takeShared = [&](QSize szImage) {
        if (strShared.isEmpty())
            return false;
        const QImage shared = FindDisplayPicture(strShared + sizeKey(szImage));
        if (shared.isNull())
            return false;
        m_pImage = std::make_unique<QImage>(shared);
        m_rcShown = rcShown;
        m_strImageKey = strShared + sizeKey(szImage);
        return true;
    };
    if (takeShared(rcShown.size()))
        return;
    // Past the budget the object is shown from a reduced copy, drawn enlarged.
    QSize szImage = rcShown.size();
    qint64 nAllowed = nShown;
    if (DisplayPixelsInUse() + nShown > kDisplayPixelBudget)
        nAllowed = kReducedPixels;
    else if (nShown > kMaxBitmapPixels)
        nAllowed = kMaxBitmapPixels;
    if (nAllowed < nShown) {
        const double k = std::sqrt(double(nAllowed) / nShown);
        szImage = QSize(std::max(1, int(rcShown.width() * k)), std::max(1, int(rcShown.height() * k)));
    }
    if (szImage != rcShown.size() && takeShared(szImage))
        return;
    m_strImageKey = (strShared.isEmpty() ? QStringLiteral("own|%1").arg(quintptr(this)) : strShared) + sizeKey(szImage);
    m_pImage = std::make_unique<QImage>(NewBitmap(szImage, Qt::transparent));
    m_rcShown = rcShown;
    const double w = m_rcObject.Width;
    const double h = m_rcObject.Height;
    const QRectF rc(0, 0, w, h);
    const QTransform shown = ObjectToShown();
    const QSizeF szScale(shown.m11(), shown.m22());

    if (m_nType == OBJ_ELEMENT) {
        QPainter painter(m_pImage.get());
        ApplyQuality(painter);
        painter.setTransform(shown);
        DrawPicture(
            painter, ReadPictureForSize(m_strElement, DrawnPixels(w * szScale.width(), h * szScale.height())), rc);
    } else {
        switch (PhotoState()) {
        case PHOTO_FRAMED:
            ComposeFramedPhoto();
            break;
        case PHOTO_FRAME_ONLY: {
            QPainter painter(m_pImage.get());
            ApplyQuality(painter);
            painter.setTransform(shown);
            DrawPicture(painter, m_pFrame, rc);
            break;
        }
        case PHOTO_PLAIN:
        case PHOTO_MASKED: {
            QPainter painter(m_pImage.get());
            ApplyQuality(painter);
            painter.setTransform(shown);
            DrawPicture(painter, m_pPhoto, rc);
            break;
        }
        default:
            m_pImage->fill(Qt::black);
            break;
        }
        if (PhotoState() != PHOTO_FRAMED && PhotoState() != PHOTO_FRAME_ONLY && !m_strMask.isEmpty())
            ApplyMaskAt(*m_pImage, m_strMask, ShownTransform().mapRect(QRectF(QPointF(0, 0), QSizeF(szWhole))));
    }
    KeepDisplayPicture(m_strImageKey, *m_pImage);
}

void TheData::ComposeFramedPhoto()
{
    if (!m_pImage)
        return;
    const QSize size = m_pImage->size();
    const QRectF rcWhole = ShownTransform().mapRect(QRectF(QPointF(0, 0), QSizeF(WholeBitmapSize())));
    const QTransform shown = ObjectToShown();
    QImage composite = NewBitmap(size, Qt::transparent);
    {
        // The photo is turned about its own centre, then shifted into the object's frame.
        QPainter painter(&composite);
        ApplyQuality(painter);
        QTransform matrix = shown;
        matrix.translate(-m_rcObject.X, -m_rcObject.Y);
        RotateAbout(matrix, m_rcPhotoLocal.toQRectF(), m_dPhotoAngle);
        painter.setWorldTransform(matrix);
        DrawPicture(painter, m_pPhoto, m_rcPhotoLocal.toQRectF());
    }
    // Only the frame's window lets the photo through.
    ApplyMaskAt(composite, m_strFrameMask, rcWhole);

    QPainter painter(m_pImage.get());
    ApplyQuality(painter);
    painter.drawImage(0, 0, composite);
    painter.setTransform(shown);
    DrawPicture(painter, m_pFrame, QRectF(0, 0, m_rcObject.Width, m_rcObject.Height));
}

void TheData::Paint(QPainter& painter) const
{
    if (m_bDeleted)
        return;
    const QRectF rcObject = m_rcObject.toQRectF();
    QTransform matrix;
    RotateAbout(matrix, rcObject, m_dAngle + m_dAngleDelta);
    painter.setWorldTransform(matrix);
    if (m_nType == OBJ_TEXT) {
        if (m_pText) {
            m_pText->m_rcLayout = m_rcObject;
            m_pText->DrawText(painter);
        }
    } else if (const QSize szWhole = WholeBitmapSize(); m_pImage && !m_rcShown.isEmpty() && !szWhole.isEmpty()) {
        // The whole bitmap spans the object; the image holds its shown part.
        const double sx = rcObject.width() / szWhole.width();
        const double sy = rcObject.height() / szWhole.height();
        painter.drawImage(QRectF(rcObject.x() + m_rcShown.x() * sx, rcObject.y() + m_rcShown.y() * sy,
                              m_rcShown.width() * sx, m_rcShown.height() * sy),
            *m_pImage);
    }
    painter.resetTransform();
}
