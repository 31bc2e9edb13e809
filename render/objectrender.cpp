// Drawing of one card object: its display image for the canvas, and its output drawing from the
// full-size picture files under the output transform.
#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <optional>
#include <utility>

#include <QPainter>
#include <QTransform>

#include "document/sharedpictures.h"
#include "document/thedata.h"
#include "platform/imageio.h"
#include "platform/quality.h"
#include "render/renderer.h"

namespace {

// Display images past the pixel budget are made with at most this many pixels.
constexpr qint64 kReducedPixels = 64 * 64;
// No single display image is larger than this (the shown part of an object with no canvas).
constexpr qint64 kMaxBitmapPixels = qint64(1) << 26;

// A 32-bit ARGB bitmap of the given size filled with one colour; null for an empty size. Memory that
// cannot be had is std::bad_alloc, as for any other allocation.
QImage NewBitmap(QSize size, const QColor& fill)
{
    if (size.isEmpty())
        return QImage();
    QImage bitmap(size, QImage::Format_ARGB32_Premultiplied);
    if (bitmap.isNull())
        throw std::bad_alloc();
    bitmap.fill(fill);
    return bitmap;
}

// The whole pixels a picture covers when drawn w x h large: both sides rounded up; empty for a
// rectangle that covers nothing. Only compared with picture sizes, so huge sides are clamped.
QSize DrawnPixels(double w, double h)
{
    if (!std::isfinite(w) || !std::isfinite(h) || w <= 0 || h <= 0)
        return QSize();
    constexpr double kLongest = 1 << 30;
    return QSize(int(std::ceil(std::min(w, kLongest))), int(std::ceil(std::min(h, kLongest))));
}

void DrawPicture(QPainter& painter, const QImage& picture, const QRectF& rc)
{
    if (!picture.isNull())
        painter.drawImage(rc, picture);
}

void DrawPicture(QPainter& painter, const std::unique_ptr<QImage>& pPicture, const QRectF& rc)
{
    if (pPicture)
        DrawPicture(painter, *pPicture, rc);
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

// Where an object lands on the output: the output transform, then its own rotation.
QTransform OutputMatrix(const TheData& obj)
{
    QTransform matrix;
    matrix.translate(g_output.nOffsetX, g_output.nOffsetY);
    matrix.scale(g_output.dScaleX, g_output.dScaleY);
    RotateAbout(matrix, obj.m_rcObject.toQRectF(), obj.m_dAngle);
    return matrix;
}

namespace {

// The whole pixels of an object's side d output pixels long, truncated; 0 for a side that is not a
// finite length of at least one pixel, or an absurd one.
int WholePixels(double d)
{
    return std::isfinite(d) && d >= 1 && d <= (1 << 24) ? int(d) : 0;
}

// The part of an object's composite of szWhole output pixels that lands on the card: the card taken
// back through the object's output matrix.
QRect ComposedPart(const TheData& obj, const QTransform& matrix, QSize szWhole)
{
    const QRect rcWhole(QPoint(0, 0), szWhole);
    if (g_output.rcCard.isEmpty() || rcWhole.isEmpty())
        return rcWhole;
    QTransform toTarget = matrix;
    toTarget.translate(obj.m_rcObject.X, obj.m_rcObject.Y);
    toTarget.scale(obj.m_rcObject.Width / szWhole.width(), obj.m_rcObject.Height / szWhole.height());
    bool bInvertible = false;
    const QTransform fromTarget = toTarget.inverted(&bInvertible);
    if (!bInvertible)
        return rcWhole;
    // Cut in floating point first: far outside, the card's corners need not fit an int.
    const QRectF rcLanded = fromTarget.mapRect(QRectF(g_output.rcCard)) & QRectF(rcWhole);
    return rcLanded.isEmpty() ? QRect() : rcLanded.toAlignedRect() & rcWhole;
}

} // namespace

namespace {

// Pictures drawn into the object are read at the size they land at on the target: the lengths of the
// object's sides after scaling and turning.
QSize DrawnSize(const TheData& obj, const QTransform& matrix)
{
    return DrawnPixels(obj.m_rcObject.Width * std::hypot(matrix.m11(), matrix.m12()),
        obj.m_rcObject.Height * std::hypot(matrix.m21(), matrix.m22()));
}

// The file an object draws whole at its drawn size: its clip-art, its frame, or its photo when it has
// no frame; empty for none.
QString WholeDrawnFile(const TheData& obj)
{
    if (obj.m_bDeleted || obj.m_nType == OBJ_TEXT)
        return QString();
    if (obj.m_nType == OBJ_ELEMENT)
        return obj.m_strElement;
    return obj.m_strFrame.isEmpty() ? obj.m_strPhoto : obj.m_strFrame;
}

} // namespace

std::optional<std::pair<QString, QSize>> SharedRead(const TheData& obj)
{
    const QString strPath = WholeDrawnFile(obj);
    if (strPath.isEmpty())
        return std::nullopt;
    return std::pair {strPath, DrawnSize(obj, OutputMatrix(obj))};
}

ObjectPictures ReadObjectPictures(const TheData& obj, PassPictures* pPass)
{
    ObjectPictures pictures;
    if (obj.m_bDeleted || obj.m_nType == OBJ_TEXT)
        return pictures;
    const double sx = g_output.dScaleX;
    const double sy = g_output.dScaleY;
    const QRectF rcObject = obj.m_rcObject.toQRectF();
    const QTransform matrix = OutputMatrix(obj);
    const QSize szDrawn = DrawnSize(obj, matrix);
    // What the object draws whole may be drawn by others of the pass at the same size too.
    const auto readWhole = [&](const QString& strPath) {
        return pPass ? pPass->Read(strPath, szDrawn) : ReadPictureForSize(strPath, szDrawn);
    };

    if (obj.m_nType == OBJ_ELEMENT) {
        pictures.imgUnder = readWhole(obj.m_strElement);
    } else if (obj.m_strPhoto.isEmpty() && obj.m_strFrame.isEmpty()) {
        // An empty placeholder is black through its mask; a few thousand pixels carry any mask's shape.
        const QSize szBlack = BitmapSize(rcObject.width(), rcObject.height()).boundedTo(QSize(4096, 4096));
        pictures.imgUnder = NewBitmap(szBlack, Qt::black);
        if (!pictures.imgUnder.isNull() && !obj.m_strMask.isEmpty())
            ApplyMask(pictures.imgUnder, obj.m_strMask, pictures.imgUnder.width(), pictures.imgUnder.height());
    } else if (obj.m_strPhoto.isEmpty()) {
        pictures.imgUnder = readWhole(obj.m_strFrame);
    } else if (obj.m_strFrame.isEmpty()) {
        pictures.imgUnder = readWhole(obj.m_strPhoto);
        if (!pictures.imgUnder.isNull() && !obj.m_strMask.isEmpty()) {
            pictures.imgUnder.convertTo(QImage::Format_ARGB32_Premultiplied);
            ApplyMask(pictures.imgUnder, obj.m_strMask, pictures.imgUnder.width(), pictures.imgUnder.height());
        }
    } else {
        // The framed photo is composed at output resolution, where it lands on the card only.
        const QSize szWhole(WholePixels(rcObject.width() * sx), WholePixels(rcObject.height() * sy));
        const QRect rcPart = ComposedPart(obj, matrix, szWhole);
        QImage composite = NewBitmap(BitmapSize(rcPart.width(), rcPart.height()), Qt::transparent);
        if (!composite.isNull()) {
            const RectF& rcLocal = obj.m_rcPhotoLocal;
            const double pw = rcLocal.Width * sx;
            const double ph = rcLocal.Height * sy;
            QPainter compositePainter(&composite);
            ApplyQuality(compositePainter);
            QTransform photoMatrix;
            photoMatrix.translate(
                (rcLocal.X - obj.m_rcObject.X) * sx - rcPart.x(), (rcLocal.Y - obj.m_rcObject.Y) * sy - rcPart.y());
            RotateAbout(photoMatrix, QRectF(0, 0, pw, ph), obj.m_dPhotoAngle);
            compositePainter.setWorldTransform(photoMatrix);
            DrawPicture(
                compositePainter, ReadPictureForSize(obj.m_strPhoto, DrawnPixels(pw, ph)), QRectF(0, 0, pw, ph));
            compositePainter.end();
            ApplyMaskAt(composite, obj.m_strFrameMask, QRectF(QPointF(-rcPart.x(), -rcPart.y()), QSizeF(szWhole)));
            pictures.imgUnder = std::move(composite);
            // The whole composite spans the object; a part of it spans its share.
            if (rcPart.size() != szWhole) {
                const double kx = rcObject.width() / szWhole.width();
                const double ky = rcObject.height() / szWhole.height();
                pictures.rcUnder = QRectF(rcObject.x() + rcPart.x() * kx, rcObject.y() + rcPart.y() * ky,
                    rcPart.width() * kx, rcPart.height() * ky);
            }
        }
        pictures.imgOver = readWhole(obj.m_strFrame);
    }
    return pictures;
}

void DrawObject(QPainter& painter, const TheData& obj, const ObjectPictures& pictures, QPoint ptOrigin)
{
    if (obj.m_bDeleted)
        return;
    const QRectF rcObject = obj.m_rcObject.toQRectF();
    painter.setWorldTransform(OutputMatrix(obj) * QTransform::fromTranslate(-ptOrigin.x(), -ptOrigin.y()));
    if (obj.m_nType == OBJ_TEXT) {
        if (obj.m_pText) {
            obj.m_pText->m_rcLayout = obj.m_rcObject;
            obj.m_pText->DrawText(painter);
        }
    } else {
        DrawPicture(painter, pictures.imgUnder, pictures.rcUnder.isEmpty() ? rcObject : pictures.rcUnder);
        DrawPicture(painter, pictures.imgOver, rcObject);
    }
    painter.resetTransform();
}

QRect ObjectBounds(const TheData& obj)
{
    if (obj.m_bDeleted || obj.m_nType == OBJ_TEXT)
        return QRect();
    const QRectF rcLanded = OutputMatrix(obj).mapRect(obj.m_rcObject.toQRectF());
    if (!rcLanded.isValid() || !std::isfinite(rcLanded.width()) || !std::isfinite(rcLanded.height()))
        return QRect();
    // Cut in floating point first: far outside, the corners need not fit an int.
    const QRectF rcOnCard = rcLanded & QRectF(g_output.rcCard);
    return rcOnCard.isEmpty() ? QRect() : rcOnCard.toAlignedRect() & g_output.rcCard;
}

void TheData::Render(QPainter& painter) const
{
    DrawObject(painter, *this, ReadObjectPictures(*this));
}
